#include "tolvex/display/CellBatch.h"

#include <algorithm>
#include <iterator>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Transform.hpp>
#include <SFML/System/String.hpp>

namespace tx {

namespace {

// Vertices of one cell: two quads of two triangles each.
constexpr std::size_t VERTICES_PER_CELL = 12;
// Room reserved up front is bounded for huge grids; the batch grows to the busiest frame there.
constexpr std::size_t MAX_RESERVED_CELLS = 16384;

}  // namespace

CellBatch::CellBatch(sf::RenderTarget& render_target, const sf::Text& glyph_text,
                     const sf::RectangleShape& background_rectangle, std::size_t cells)
    : target(render_target), text(glyph_text), rectangle(background_rectangle) {
  // Every glyph a char can show, and the two sf::Text measures ('x' and ' '), go into the font's
  // texture now: drawing then never renders a glyph or grows the texture in the middle of a
  // frame.
  const sf::Font& font = *text.getFont();
  const unsigned int size = text.getCharacterSize();
  font.getGlyph(U'x', size, isBold());
  font.getGlyph(U' ', size, isBold());
  for (std::size_t c = 0; c < code_points.size(); c++) {
    const sf::String converted(static_cast<char>(c));
    code_points[c] = converted.isEmpty() ? 0u : converted[0];
    font.getGlyph(code_points[c], size, isBold());
  }
  vertices.reserve(std::min(cells, MAX_RESERVED_CELLS) * VERTICES_PER_CELL);
}

bool CellBatch::isBold() const { return (text.getStyle() & sf::Text::Bold) != 0; }

void CellBatch::addBackground(sf::Vector2f position) {
  // The centre of the font texture's white square: the fill colour comes through unchanged.
  const sf::Vector2f white(1.0f, 1.0f);
  appendQuad(position, sf::Vector2f(0.0f, 0.0f), rectangle.getSize(), white, white,
             rectangle.getFillColor());
}

void CellBatch::addGlyph(sf::Vector2f position, char ch, sf::Color fill) {
  const sf::Uint32 code = code_points[static_cast<unsigned char>(ch)];
  if (code == U' ' || code == U'\n' || code == U'\t' || code == U'\r') {
    return;  // sf::Text draws nothing for these.
  }
  const unsigned int size = text.getCharacterSize();
  const sf::Glyph& glyph = text.getFont()->getGlyph(code, size, isBold());
  // The quad sf::Text builds for a one-character string: the glyph's bounds grown by one pixel
  // of padding, the baseline one character size below the position.
  const float padding = 1.0f;
  const float baseline = static_cast<float>(size);
  const sf::FloatRect& bounds = glyph.bounds;
  const sf::IntRect& texels = glyph.textureRect;
  appendQuad(position, sf::Vector2f(bounds.left - padding, baseline + bounds.top - padding),
             sf::Vector2f(bounds.left + bounds.width + padding,
                          baseline + bounds.top + bounds.height + padding),
             sf::Vector2f(static_cast<float>(texels.left) - padding,
                          static_cast<float>(texels.top) - padding),
             sf::Vector2f(static_cast<float>(texels.left + texels.width) + padding,
                          static_cast<float>(texels.top + texels.height) + padding),
             fill);
}

void CellBatch::appendQuad(sf::Vector2f position, sf::Vector2f top_left, sf::Vector2f bottom_right,
                           sf::Vector2f texture_top_left, sf::Vector2f texture_bottom_right,
                           sf::Color fill) {
  // Placed by the transform of its position, as sf::Text and sf::RectangleShape place theirs.
  sf::Transform placement;
  placement.translate(position);
  const sf::Vertex corners[4] = {
      {placement.transformPoint(top_left), fill, texture_top_left},
      {placement.transformPoint(bottom_right.x, top_left.y), fill,
       sf::Vector2f(texture_bottom_right.x, texture_top_left.y)},
      {placement.transformPoint(top_left.x, bottom_right.y), fill,
       sf::Vector2f(texture_top_left.x, texture_bottom_right.y)},
      {placement.transformPoint(bottom_right), fill, texture_bottom_right}};
  // The driver takes a whole draw through its slower clipping path as soon as one corner lies
  // outside the window, so such a quad is drawn alone and the rest of the batch stays fast.
  const bool outside =
      std::any_of(std::begin(corners), std::end(corners),
                  [this](const sf::Vertex& v) { return isOutsideWindow(v.position); });
  if (outside || last_quad_outside) {
    draw();
  }
  last_quad_outside = outside;
  // The corner order of sf::Text's quads.
  vertices.insert(vertices.end(),
                  {corners[0], corners[1], corners[2], corners[2], corners[1], corners[3]});
}

bool CellBatch::isOutsideWindow(sf::Vector2f point) const {
  const sf::Vector2f clip = target.getView().getTransform().transformPoint(point);
  return clip.x < -1.0f || clip.x > 1.0f || clip.y < -1.0f || clip.y > 1.0f;
}

void CellBatch::draw() {
  last_quad_outside = false;
  if (vertices.empty()) {
    return;
  }
  sf::RenderStates states;
  states.texture = &text.getFont()->getTexture(text.getCharacterSize());
  target.draw(vertices.data(), vertices.size(), sf::Triangles, states);
  vertices.clear();
}

}  // namespace tx
