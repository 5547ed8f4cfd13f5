#pragma once

#include <string>
#include <vector>

#include <SFML/Graphics/Color.hpp>

#include "tolvex/world/Vector.h"

namespace tx {

// One character cell as the window shows it. A cell nothing was drawn in holds a blank in the
// background colour.
struct Cell {
  // The character shown.
  char ch = ' ';
  // Its colour.
  sf::Color foreground;
  // The colour of the cell around it.
  sf::Color background;

  // Equal when character and both colours are.
  bool operator==(const Cell& other) const {
    return ch == other.ch && foreground == other.foreground && background == other.background;
  }
  bool operator!=(const Cell& other) const { return !(*this == other); }
};

// The screen as a grid of cells, columns left to right and rows top to bottom, as the display
// manager's drawing calls fill it. Shapes are pixels, not cells: they leave no trace here.
class CellGrid {
 public:
  CellGrid() = default;
  // A grid of blank cells; sizes below 1 give an empty grid.
  CellGrid(int columns, int rows, sf::Color background);

  // Size in cells.
  int getColumns() const { return columns; }
  int getRows() const { return rows; }
  // The colour blank cells have.
  sf::Color getBackground() const { return background; }
  // The cell at (column, row); both must be inside the grid.
  const Cell& at(int column, int row) const;

  // Puts ch in the cell where the window shows a character drawn at view_position (cells,
  // relative to the view): the nearest cell, a half cell going right and down, where the glyph
  // and its background mostly lie. Later characters replace earlier ones; a position off the
  // grid changes nothing.
  void draw(Vector view_position, char ch, sf::Color foreground);
  // Every cell blank again.
  void clear();

  // The characters, one line per row, each ended by a line feed; a byte that is not printable
  // ASCII shows as '?', so that every line holds exactly one character per column.
  std::string toText() const;
  // The colour codes (colorCode), laid out as toText().
  std::string toColorText() const;

  // The code of a cell in the colour rows: '.' when it shows no character (a blank, or a
  // character the font draws nothing for), else its foreground's letter.
  static char cellCode(const Cell& cell);
  // The letter of one of the eight named colours (k r g y b m c w, black to white), or '?' for
  // any other colour.
  static char colorCode(sf::Color color);
  // The colour a letter of colorCode() stands for; '?' and unknown letters give white.
  static sf::Color colorOfCode(char code);
  // ch as a capture shows it: itself when printable ASCII, else '?'.
  static char textCharacter(char ch);

  // Equal when the sizes, the background and every cell are.
  bool operator==(const CellGrid& other) const;
  bool operator!=(const CellGrid& other) const { return !(*this == other); }

 private:
  int columns = 0;
  int rows = 0;
  sf::Color background;
  std::vector<Cell> cells;
};

}  // namespace tx
