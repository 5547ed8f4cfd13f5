#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Vertex.hpp>

namespace sf {
class RectangleShape;
class RenderTarget;
class Text;
}  // namespace sf

namespace tx {

// Characters waiting to be drawn into a window: for each, its background cell and then its
// glyph, as textured triangles that reach the window in one draw call (plus one for each quad
// that reaches past the window's edge). The backgrounds sample the white square the font keeps
// in its texture, so one texture serves both.
class CellBatch {
 public:
  // Draws into target, with the look of the cells taken from the text (font, character size,
  // style) and the rectangle (size, fill colour); all three must outlive the batch. Puts every
  // glyph a char can show into the font's texture now, and makes room for `cells` characters.
  CellBatch(sf::RenderTarget& render_target, const sf::Text& glyph_text,
            const sf::RectangleShape& background_rectangle, std::size_t cells);

  // Appends a background cell with its top left corner at position (pixels).
  void addBackground(sf::Vector2f position);
  // Appends the glyph of ch as sf::Text draws it at position (pixels); blanks add nothing.
  void addGlyph(sf::Vector2f position, char ch, sf::Color fill);
  // Draws what was appended into the target, in order, then empties the batch. Once the
  // busiest frame has been seen, nothing is allocated.
  void draw();

 private:
  // Appends two triangles covering [top_left, bottom_right] (relative to position, pixels),
  // textured by the matching texture rectangle (pixels).
  void appendQuad(sf::Vector2f position, sf::Vector2f top_left, sf::Vector2f bottom_right,
                  sf::Vector2f texture_top_left, sf::Vector2f texture_bottom_right, sf::Color fill);
  // Whether a point (pixels) lies outside the window, as the target's sf::View maps it.
  bool isOutsideWindow(sf::Vector2f point) const;
  bool isBold() const;

  sf::RenderTarget& target;
  const sf::Text& text;
  const sf::RectangleShape& rectangle;
  std::vector<sf::Vertex> vertices;
  // The last quad appended reaches outside the window and is drawn alone.
  bool last_quad_outside = false;
  // The code point each char becomes, converted once with the locale as sf::String converts a
  // char.
  std::array<sf::Uint32, 256> code_points{};
};

}  // namespace tx
