#include "tolvex/display/FrameComposer.h"

#include <algorithm>
#include <cstring>

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>

namespace tx {

namespace {

// Pixels on a side of a tile: small enough that a moving sprite redraws little around it, large
// enough that a character touches only a handful.
constexpr int TILE_SIZE = 32;
// The hash of a tile no character touches.
constexpr std::uint64_t EMPTY_TILE = 0x9e3779b97f4a7c15ull;

// Spreads the bits of x over the whole word (splitmix64's finaliser).
std::uint64_t mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ull;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebull;
  x ^= x >> 31;
  return x;
}

// Everything that decides the pixels a character draws: its exact position, character and
// colour (the look of the cells is the same for every character).
std::uint64_t hashOf(const CellDrawing& drawing) {
  std::uint32_t x = 0;
  std::uint32_t y = 0;
  std::memcpy(&x, &drawing.position.x, sizeof x);
  std::memcpy(&y, &drawing.position.y, sizeof y);
  const std::uint64_t where = (static_cast<std::uint64_t>(x) << 32u) | y;
  const std::uint64_t what =
      (static_cast<std::uint64_t>(static_cast<unsigned char>(drawing.ch)) << 32u) |
      drawing.color.toInteger();
  return mix(where ^ mix(what));
}

// The tile index of a pixel coordinate, held to [0, count - 1]; the coordinate lies on the
// texture, so the conversion is in range.
int tileOf(float pixel, int count) {
  return std::min(static_cast<int>(pixel) / TILE_SIZE, count - 1);
}

// How much more a pixel of a character costs than a pixel of the texture's copy: a character
// is blended from the font's texture, the copy only reads one texel per pixel.
constexpr float CHARACTER_PIXEL_COST = 2.0f;

float areaOf(const sf::FloatRect& rectangle) { return rectangle.width * rectangle.height; }

}  // namespace

std::unique_ptr<FrameComposer> FrameComposer::make(const sf::Text& text,
                                                   const sf::RectangleShape& rectangle,
                                                   sf::Vector2u size) {
  std::unique_ptr<FrameComposer> composer(new FrameComposer(text, rectangle));
  if (size.x == 0 || size.y == 0 || !composer->texture.create(size.x, size.y)) return nullptr;
  composer->texture.clear(rectangle.getFillColor());
  // While the texture's GL context is current.
  composer->framebuffer_copy = std::make_unique<FramebufferCopy>();
  // Drawing into the texture binds it in the window's GL context; unbound, reads of the
  // window's pixels (sf::Texture::update) see the window again.
  composer->texture.setActive(false);
  composer->tile_columns = static_cast<int>((size.x + TILE_SIZE - 1) / TILE_SIZE);
  composer->tile_rows = static_cast<int>((size.y + TILE_SIZE - 1) / TILE_SIZE);
  const std::size_t tiles = static_cast<std::size_t>(composer->tile_columns) *
                            static_cast<std::size_t>(composer->tile_rows);
  composer->held_hashes.assign(tiles, EMPTY_TILE);
  composer->last_hashes.assign(tiles, EMPTY_TILE);
  composer->hashes.assign(tiles, EMPTY_TILE);
  composer->changed.assign(tiles, false);
  return composer;
}

FrameComposer::FrameComposer(const sf::Text& text, const sf::RectangleShape& background_rectangle)
    : rectangle(background_rectangle), clears(text, rectangle), characters(text, rectangle) {}

void FrameComposer::present(sf::RenderWindow& target) {
  if (frame_started) {
    drawPending(target);
  } else {
    startFrame(target);
    frame_started = true;
  }
  pending.clear();
}

void FrameComposer::startFrame(sf::RenderWindow& target) {
  hashTiles();
  // Judged against the last frame, not the texture: a frame that stays put is worth bringing
  // into the texture even when the texture missed the frames drawn straight into the window.
  markChangedTiles(last_hashes);
  composed = isComposingCheaper();
  last_hashes = hashes;
  if (!composed) {
    redrawn_tiles = 0;
    target.clear(rectangle.getFillColor());
    drawPending(target);
    return;
  }
  redrawn_tiles = markChangedTiles(held_hashes);
  if (redrawn_tiles > 0) {
    redrawChangedTiles();
    texture.display();
    held_hashes = hashes;
  }
  // Every pixel replaced: the texture holds the whole frame, background included.
  if (!framebuffer_copy->copy(texture, target))
    target.draw(sf::Sprite(texture.getTexture()), sf::RenderStates(sf::BlendNone));
}

bool FrameComposer::isComposingCheaper() const {
  // Pixels of the characters that a composed frame need not draw again.
  float kept = 0.0f;
  const sf::FloatRect all(sf::Vector2f(0.0f, 0.0f), sf::Vector2f(texture.getSize()));
  for (std::size_t i = 0; i < pending.size(); i++) {
    sf::FloatRect on_texture;
    if (!touchesChangedTile(ranges[i]) &&
        characters.getBounds(pending[i]).intersects(all, on_texture))
      kept += areaOf(on_texture);
  }
  return CHARACTER_PIXEL_COST * kept > areaOf(all);
}

bool FrameComposer::touchesChangedTile(const TileRange& range) const {
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int column = range.first_column; column <= range.last_column; column++)
      if (isChanged(column, row)) return true;
  return false;
}

void FrameComposer::drawPending(sf::RenderWindow& target) {
  const sf::FloatRect all(sf::Vector2f(0.0f, 0.0f), sf::Vector2f(texture.getSize()));
  for (const CellDrawing& drawing : pending) characters.add(drawing, all);
  characters.draw(target, sf::BlendAlpha);
}

void FrameComposer::hashTiles() {
  std::fill(hashes.begin(), hashes.end(), EMPTY_TILE);
  ranges.clear();
  const sf::Vector2f size(texture.getSize());
  for (const CellDrawing& drawing : pending) {
    const sf::FloatRect bounds = characters.getBounds(drawing);
    TileRange range;
    // Written so that a NaN position counts as off the texture.
    if (bounds.left + bounds.width > 0.0f && bounds.left < size.x &&
        bounds.top + bounds.height > 0.0f && bounds.top < size.y) {
      range = TileRange{tileOf(std::max(bounds.left, 0.0f), tile_columns),
                        tileOf(std::max(bounds.top, 0.0f), tile_rows),
                        tileOf(std::min(bounds.left + bounds.width, size.x), tile_columns),
                        tileOf(std::min(bounds.top + bounds.height, size.y), tile_rows)};
    }
    ranges.push_back(range);
    const std::uint64_t hash = hashOf(drawing);
    for (int row = range.first_row; row <= range.last_row; row++)
      for (int column = range.first_column; column <= range.last_column; column++) {
        std::uint64_t& tile = hashes[tileIndex(column, row)];
        tile = mix(tile ^ hash);
      }
  }
}

int FrameComposer::markChangedTiles(const std::vector<std::uint64_t>& base) {
  int count = 0;
  for (std::size_t i = 0; i < hashes.size(); i++) {
    changed[i] = hashes[i] != base[i];
    count += changed[i] ? 1 : 0;
  }
  return count;
}

std::size_t FrameComposer::tileIndex(int column, int row) const {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(tile_columns) +
         static_cast<std::size_t>(column);
}

bool FrameComposer::isChanged(int column, int row) const { return changed[tileIndex(column, row)]; }

sf::FloatRect FrameComposer::tilePixels(int first_column, int first_row, int last_column,
                                        int last_row) const {
  const sf::Vector2f size(texture.getSize());
  const float left = static_cast<float>(first_column * TILE_SIZE);
  const float top = static_cast<float>(first_row * TILE_SIZE);
  const float right = std::min(static_cast<float>((last_column + 1) * TILE_SIZE), size.x);
  const float bottom = std::min(static_cast<float>((last_row + 1) * TILE_SIZE), size.y);
  return sf::FloatRect(left, top, right - left, bottom - top);
}

void FrameComposer::redrawChangedTiles() {
  for (int row = 0; row < tile_rows; row++)
    for (int column = 0; column < tile_columns; column++) {
      if (!isChanged(column, row)) continue;
      int last = column;
      while (last + 1 < tile_columns && isChanged(last + 1, row)) last++;
      clears.addFill(tilePixels(column, row, last, row), rectangle.getFillColor());
      column = last;
    }
  for (std::size_t i = 0; i < pending.size(); i++) addChangedParts(pending[i], ranges[i]);
  clears.draw(texture, sf::BlendNone);
  characters.draw(texture, sf::BlendAlpha);
}

void FrameComposer::addChangedParts(const CellDrawing& drawing, const TileRange& range) {
  if (range.last_row < range.first_row) return;  // off the texture
  bool all_changed = true;
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int column = range.first_column; column <= range.last_column; column++)
      all_changed = all_changed && isChanged(column, row);
  if (all_changed) {
    characters.add(drawing, tilePixels(range.first_column, range.first_row, range.last_column,
                                       range.last_row));
    return;
  }
  // Row by row, each run of changed tiles: the parts in unchanged tiles are drawn already.
  for (int row = range.first_row; row <= range.last_row; row++)
    for (int column = range.first_column; column <= range.last_column; column++) {
      if (!isChanged(column, row)) continue;
      int last = column;
      while (last + 1 <= range.last_column && isChanged(last + 1, row)) last++;
      characters.add(drawing, tilePixels(column, row, last, row));
      column = last;
    }
}

}  // namespace tx
