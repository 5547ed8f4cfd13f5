#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <SFML/Graphics/RenderTexture.hpp>

#include "tolvex/display/CellBatch.h"
#include "tolvex/display/FramebufferCopy.h"

namespace sf {
class RectangleShape;
class RenderWindow;
class Text;
}  // namespace sf

namespace tx {

// Brings the characters of a frame into the window, as if each had been drawn straight into it,
// redrawing only what changed where that is cheaper. It keeps a composed frame in a texture cut
// into square tiles; a tile is redrawn only when the characters that touch it, in drawing
// order, differ from those it holds, and the texture then reaches the window as one quad. A
// frame whose characters mostly changed, or that has too few to outweigh copying the whole
// window, is drawn straight into the window instead (the texture keeps what it held).
class FrameComposer {
 public:
  // A composer of frames of size (pixels) with the look of the cells from the text and the
  // rectangle (whose fill colour is the background), which must outlive it; null (after SFML's
  // own message) when the texture cannot be made.
  static std::unique_ptr<FrameComposer> make(const sf::Text& text,
                                             const sf::RectangleShape& rectangle,
                                             sf::Vector2u size);

  // Adds a character to those drawn since the last present().
  void add(const CellDrawing& drawing) { pending.push_back(drawing); }
  // Brings target up to date with the characters added since the last call. The first call
  // after frameShown() starts the frame from the background, whatever target holds; later
  // calls draw over whatever target holds then (shapes drawn since, for instance).
  void present(sf::RenderWindow& target);
  // The frame was shown; target's pixels count for nothing any more.
  void frameShown() { frame_started = false; }

  // Whether the last frame started by present() came from the texture, and how many of its
  // tiles were redrawn; for tests and benchmarks.
  bool wasComposed() const { return composed; }
  int getRedrawnTiles() const { return redrawn_tiles; }

 private:
  // The tiles a character touches, inclusive; empty (last < first) when it is off the texture.
  struct TileRange {
    int first_column = 0;
    int first_row = 0;
    int last_column = -1;
    int last_row = -1;
  };

  FrameComposer(const sf::Text& text, const sf::RectangleShape& rectangle);
  // Starts a frame from the pending characters, composed or drawn straight into target.
  void startFrame(sf::RenderWindow& target);
  // Finds each pending character's tiles and folds it into their hashes.
  void hashTiles();
  // Marks the tiles whose hash differs from the one in base; returns how many.
  int markChangedTiles(const std::vector<std::uint64_t>& base);
  // Whether copying the texture costs less than drawing the pending characters that touch no
  // changed tile.
  bool isComposingCheaper() const;
  // Clears the changed tiles and draws into them the pending characters that touch them.
  void redrawChangedTiles();
  // Appends the parts of a character that lie in changed tiles.
  void addChangedParts(const CellDrawing& drawing, const TileRange& range);
  // Draws the pending characters straight into target, over what it holds.
  void drawPending(sf::RenderWindow& target);
  // The pixels of the tiles [first_column, last_column] x [first_row, last_row], within the
  // texture.
  sf::FloatRect tilePixels(int first_column, int first_row, int last_column, int last_row) const;
  // Where a tile's entries are in the per-tile vectors.
  std::size_t tileIndex(int column, int row) const;
  bool isChanged(int column, int row) const;
  bool touchesChangedTile(const TileRange& range) const;

  sf::RenderTexture texture;
  // Made once the texture's GL context exists.
  std::unique_ptr<FramebufferCopy> framebuffer_copy;
  // The look of the cells: the background colour is the rectangle's.
  const sf::RectangleShape& rectangle;
  CellBatch clears;
  CellBatch characters;
  int tile_columns = 0;
  int tile_rows = 0;
  std::vector<CellDrawing> pending;
  // Per pending character, its tiles.
  std::vector<TileRange> ranges;
  // Per tile, row by row: the hash of what the texture holds, of what the last frame started
  // with, of what this frame needs, and whether it differs from one of the first two.
  std::vector<std::uint64_t> held_hashes;
  std::vector<std::uint64_t> last_hashes;
  std::vector<std::uint64_t> hashes;
  std::vector<bool> changed;
  // A present() has drawn into target since the frame was last shown.
  bool frame_started = false;
  bool composed = false;
  int redrawn_tiles = 0;
};

}  // namespace tx
