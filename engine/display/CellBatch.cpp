#include "tolvex/display/CellBatch.h"

#include <algorithm>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/String.hpp>

namespace tx {

namespace {

// Vertices handed to the driver in one draw call: a row of 80 characters. Mesa's software
// renderer takes several times longer over one call of a whole screen than over the same
// vertices in calls of this size.
constexpr std::size_t VERTICES_PER_DRAW = 960;

// The centre of the font texture's white square: a fill colour comes through unchanged.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// The value at a of the straight line through (a0, t0) and (a1, t1).
float along(float a, float a0, float a1, float t0, float t1) {
  return t0 + (a - a0) * (t1 - t0) / (a1 - a0);
}

// Cuts one axis of a quad, [low, high], to [clip_low, clip_high]; the texture coordinate of a cut
// end moves in proportion. An end inside the clip keeps its exact values, so an uncut quad is
// drawn as sf::Text draws it. False when nothing is left.
bool clipSpan(float& low, float& high, float& texture_low, float& texture_high, float clip_low,
              float clip_high) {
  const float from = low;
  const float to = high;
  const float texture_from = texture_low;
  const float texture_to = texture_high;
  if (from < clip_low) {
    low = clip_low;
    texture_low = along(low, from, to, texture_from, texture_to);
  }
  if (to > clip_high) {
    high = clip_high;
    texture_high = along(high, from, to, texture_from, texture_to);
  }
  return low < high;
}

}  // namespace

CellBatch::CellBatch(const sf::Text& glyph_text, const sf::RectangleShape& background_rectangle)
    : text(glyph_text), rectangle(background_rectangle) {
  // Also the two glyphs sf::Text measures with ('x' and ' '), so that nothing renders a glyph
  // or grows the font's texture mid-frame.
  const sf::Font& font = *text.getFont();
  const unsigned int size = text.getCharacterSize();
  font.getGlyph(U'x', size, isBold());
  font.getGlyph(U' ', size, isBold());
  for (std::size_t c = 0; c < glyph_quads.size(); c++) {
    // The code point as sf::String converts a char, with the locale.
    const sf::String converted(static_cast<char>(c));
    const sf::Uint32 code = converted.isEmpty() ? 0u : converted[0];
    // sf::Text draws nothing for these.
    shows_glyph[c] = code != U' ' && code != U'\n' && code != U'\t' && code != U'\r';
    glyph_quads[c] = glyphQuadOf(code);
  }
}

bool CellBatch::isBold() const { return (text.getStyle() & sf::Text::Bold) != 0; }

CellBatch::Quad CellBatch::backgroundQuad(const CellDrawing& drawing) const {
  // Shifted against the glyph so that it covers the glyph's ink, which the font places below
  // the text position.
  const sf::Vector2f size = rectangle.getSize();
  const sf::Vector2f corner(drawing.position.x - size.x / 10.0f,
                            drawing.position.y + size.y / 5.0f);
  return Quad{corner, corner + size, WHITE_TEXEL, WHITE_TEXEL};
}

CellBatch::Quad CellBatch::glyphQuadOf(sf::Uint32 code) const {
  const unsigned int size = text.getCharacterSize();
  const sf::Glyph& glyph = text.getFont()->getGlyph(code, size, isBold());
  // The glyph's bounds grown by one pixel of padding, the baseline one character size below the
  // position.
  const float padding = 1.0f;
  const float baseline = static_cast<float>(size);
  const sf::FloatRect& bounds = glyph.bounds;
  const sf::IntRect& texels = glyph.textureRect;
  return Quad{sf::Vector2f(bounds.left - padding, baseline + bounds.top - padding),
              sf::Vector2f(bounds.left + bounds.width + padding,
                           baseline + bounds.top + bounds.height + padding),
              sf::Vector2f(static_cast<float>(texels.left) - padding,
                           static_cast<float>(texels.top) - padding),
              sf::Vector2f(static_cast<float>(texels.left + texels.width) + padding,
                           static_cast<float>(texels.top + texels.height) + padding)};
}

bool CellBatch::glyphQuad(const CellDrawing& drawing, Quad& quad) const {
  const auto c = static_cast<unsigned char>(drawing.ch);
  if (!shows_glyph[c]) return false;
  quad = glyph_quads[c];
  quad.top_left += drawing.position;
  quad.bottom_right += drawing.position;
  return true;
}

sf::FloatRect CellBatch::getBounds(const CellDrawing& drawing) const {
  Quad quad = backgroundQuad(drawing);
  Quad glyph;
  if (glyphQuad(drawing, glyph)) {
    quad.top_left.x = std::min(quad.top_left.x, glyph.top_left.x);
    quad.top_left.y = std::min(quad.top_left.y, glyph.top_left.y);
    quad.bottom_right.x = std::max(quad.bottom_right.x, glyph.bottom_right.x);
    quad.bottom_right.y = std::max(quad.bottom_right.y, glyph.bottom_right.y);
  }
  return sf::FloatRect(quad.top_left, quad.bottom_right - quad.top_left);
}

void CellBatch::add(const CellDrawing& drawing, const sf::FloatRect& clip) {
  appendQuad(backgroundQuad(drawing), clip, rectangle.getFillColor());
  Quad glyph;
  if (glyphQuad(drawing, glyph)) appendQuad(glyph, clip, drawing.color);
}

void CellBatch::addFill(const sf::FloatRect& fill_rectangle, sf::Color color) {
  const sf::Vector2f corner(fill_rectangle.left, fill_rectangle.top);
  appendQuad(Quad{corner, corner + sf::Vector2f(fill_rectangle.width, fill_rectangle.height),
                  WHITE_TEXEL, WHITE_TEXEL},
             fill_rectangle, color);
}

void CellBatch::appendQuad(Quad quad, const sf::FloatRect& clip, sf::Color fill) {
  if (!clipSpan(quad.top_left.x, quad.bottom_right.x, quad.texture_top_left.x,
                quad.texture_bottom_right.x, clip.left, clip.left + clip.width) ||
      !clipSpan(quad.top_left.y, quad.bottom_right.y, quad.texture_top_left.y,
                quad.texture_bottom_right.y, clip.top, clip.top + clip.height))
    return;
  const sf::Vertex top_left(quad.top_left, fill, quad.texture_top_left);
  const sf::Vertex top_right(sf::Vector2f(quad.bottom_right.x, quad.top_left.y), fill,
                             sf::Vector2f(quad.texture_bottom_right.x, quad.texture_top_left.y));
  const sf::Vertex bottom_left(sf::Vector2f(quad.top_left.x, quad.bottom_right.y), fill,
                               sf::Vector2f(quad.texture_top_left.x, quad.texture_bottom_right.y));
  const sf::Vertex bottom_right(quad.bottom_right, fill, quad.texture_bottom_right);
  // The corner order of sf::Text's quads.
  vertices.insert(vertices.end(),
                  {top_left, top_right, bottom_left, bottom_left, top_right, bottom_right});
}

void CellBatch::draw(sf::RenderTarget& target, const sf::BlendMode& blend_mode) {
  if (vertices.empty()) return;
  sf::RenderStates states(blend_mode);
  states.texture = &text.getFont()->getTexture(text.getCharacterSize());
  for (std::size_t first = 0; first < vertices.size(); first += VERTICES_PER_DRAW)
    target.draw(vertices.data() + first, std::min(VERTICES_PER_DRAW, vertices.size() - first),
                sf::Triangles, states);
  vertices.clear();
}

}  // namespace tx
