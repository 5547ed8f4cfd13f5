#pragma once

#include <array>
#include <vector>

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Vertex.hpp>

namespace sf {
struct BlendMode;
class RectangleShape;
class RenderTarget;
class Text;
}  // namespace sf

namespace tx {

// One character to draw: where sf::Text would be placed to draw it (pixels), which character
// and in which colour. Its background cell is shifted against that position (see CellBatch).
struct CellDrawing {
  sf::Vector2f position;
  char ch = ' ';
  sf::Color color;
};

// Characters as textured quads, each a background cell and then a glyph, exactly where one
// sf::RectangleShape and one sf::Text would draw them, cut to a rectangle; they reach a target in
// a few draw calls. The backgrounds sample the white square the font keeps in its texture, so
// one texture serves both.
class CellBatch {
 public:
  // Takes the look of the cells from the text (font, character size, style) and the rectangle
  // (size, fill colour); both must outlive the batch. Puts every glyph a char can show into the
  // font's texture now, so that drawing never renders a glyph or grows the texture mid-frame.
  CellBatch(const sf::Text& glyph_text, const sf::RectangleShape& background_rectangle);

  // The pixels a character's background and glyph may touch.
  sf::FloatRect getBounds(const CellDrawing& drawing) const;
  // Appends a character's background and glyph, the parts inside clip (pixels) only.
  void add(const CellDrawing& drawing, const sf::FloatRect& clip);
  // Appends a rectangle (pixels) filled with color.
  void addFill(const sf::FloatRect& rectangle, sf::Color color);
  // Draws what was appended into target with the blend mode, in order, then empties the batch.
  // Once the busiest frame has been seen, nothing is allocated.
  void draw(sf::RenderTarget& target, const sf::BlendMode& blend_mode);

 private:
  // A quad's corners and texture corners (pixels).
  struct Quad {
    sf::Vector2f top_left;
    sf::Vector2f bottom_right;
    sf::Vector2f texture_top_left;
    sf::Vector2f texture_bottom_right;
  };
  // The background quad of a character, and its glyph quad (false when it shows no glyph).
  Quad backgroundQuad(const CellDrawing& drawing) const;
  bool glyphQuad(const CellDrawing& drawing, Quad& quad) const;
  // The quad sf::Text builds for a string of the one character code, relative to its position.
  Quad glyphQuadOf(sf::Uint32 code) const;
  // Appends the part of the quad inside clip as two triangles, its texture cut alike.
  void appendQuad(Quad quad, const sf::FloatRect& clip, sf::Color fill);
  bool isBold() const;

  const sf::Text& text;
  const sf::RectangleShape& rectangle;
  std::vector<sf::Vertex> vertices;
  // Per char (as an unsigned byte): whether it shows a glyph, and its glyph quad relative to the
  // drawing position. Worked out once: the glyphs of the one size never change.
  std::array<bool, 256> shows_glyph{};
  std::array<Quad, 256> glyph_quads{};
};

}  // namespace tx
