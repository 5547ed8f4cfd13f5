#pragma once

namespace sf {
class RenderTexture;
class RenderWindow;
}  // namespace sf

namespace tx {

// Copies the pixels of a render texture into a window of the same size with one framebuffer
// blit, which moves pixels without running them through the drawing pipeline (a textured quad
// costs several times more in a software renderer). Only where the driver offers the blit.
class FramebufferCopy {
 public:
  // Looks the GL functions up in the current context.
  FramebufferCopy();

  // Copies texture into window's pixels one for one, or returns false (nothing done) when the
  // driver offers no blit or the sizes differ. Leaves the window the active render target.
  bool copy(sf::RenderTexture& texture, sf::RenderWindow& window) const;

 private:
  // Entry points of the GL framebuffer functions; null when the driver lacks them.
  using GetIntegerv = void (*)(unsigned int, int*);
  using BindFramebuffer = void (*)(unsigned int, unsigned int);
  using BlitFramebuffer = void (*)(int, int, int, int, int, int, int, int, unsigned int,
                                   unsigned int);
  GetIntegerv get_integerv = nullptr;
  BindFramebuffer bind_framebuffer = nullptr;
  BlitFramebuffer blit_framebuffer = nullptr;
};

}  // namespace tx
