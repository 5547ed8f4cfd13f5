#include "tolvex/display/FramebufferCopy.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>

namespace tx {

namespace {

// A GL entry point as the function type it has.
template <typename Function>
Function lookUp(const char* name) {
  return reinterpret_cast<Function>(sf::Context::getFunction(name));
}

}  // namespace

FramebufferCopy::FramebufferCopy()
    : get_integerv(lookUp<GetIntegerv>("glGetIntegerv")),
      bind_framebuffer(lookUp<BindFramebuffer>("glBindFramebuffer")),
      blit_framebuffer(lookUp<BlitFramebuffer>("glBlitFramebuffer")) {}

bool FramebufferCopy::copy(sf::RenderTexture& texture, sf::RenderWindow& window) const {
  if (get_integerv == nullptr || bind_framebuffer == nullptr || blit_framebuffer == nullptr ||
      texture.getSize() != window.getSize() || !window.setActive(true) || !texture.setActive(true))
    return false;
  // The texture's framebuffer in the window's context, which activating the texture bound.
  GLint framebuffer = 0;
  get_integerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  const int width = static_cast<int>(window.getSize().x);
  const int height = static_cast<int>(window.getSize().y);
  bind_framebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(framebuffer));
  bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
  // Both keep their rows bottom up, so the rectangles match without a flip.
  blit_framebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  // SFML tracks which target is active: the window again, with its own framebuffer bound.
  return window.setActive(true);
}

}  // namespace tx
