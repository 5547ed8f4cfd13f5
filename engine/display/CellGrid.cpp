#include "tolvex/display/CellGrid.h"

#include <cmath>

#include "tolvex/display/DisplayManager.h"

namespace tx {

namespace {

// The colour letters, BLACK to WHITE in the order of the engine's colour values.
const char COLOR_LETTERS[] = "krgybmcw";

// The whole cell a view coordinate (cells) shows in, or -1 when it lies outside [0, size).
int cellIndex(float coordinate, int size) {
  const float nearest = std::floor(coordinate + 0.5f);
  // Compared as floats first: a huge or NaN coordinate must not reach the conversion.
  if (!(nearest >= 0.0f && nearest < static_cast<float>(size))) return -1;
  return static_cast<int>(nearest);
}

}  // namespace

CellGrid::CellGrid(int init_columns, int init_rows, sf::Color init_background)
    : columns(init_columns > 0 && init_rows > 0 ? init_columns : 0),
      rows(init_columns > 0 && init_rows > 0 ? init_rows : 0),
      background(init_background),
      cells(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows),
            Cell{' ', init_background, init_background}) {}

const Cell& CellGrid::at(int column, int row) const {
  return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column)];
}

void CellGrid::draw(Vector view_position, char ch, sf::Color foreground) {
  const int column = cellIndex(view_position.getX(), columns);
  const int row = cellIndex(view_position.getY(), rows);
  if (column < 0 || row < 0) return;
  cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
        static_cast<std::size_t>(column)] = Cell{ch, foreground, background};
}

void CellGrid::clear() {
  for (Cell& cell : cells) cell = Cell{' ', background, background};
}

std::string CellGrid::toText() const {
  std::string text;
  text.reserve(cells.size() + static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; row++) {
    for (int column = 0; column < columns; column++) text += textCharacter(at(column, row).ch);
    text += '\n';
  }
  return text;
}

std::string CellGrid::toColorText() const {
  std::string text;
  text.reserve(cells.size() + static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; row++) {
    for (int column = 0; column < columns; column++) text += cellCode(at(column, row));
    text += '\n';
  }
  return text;
}

char CellGrid::cellCode(const Cell& cell) {
  // The font draws nothing for these, as for a blank: only the background shows.
  if (cell.ch == ' ' || cell.ch == '\t' || cell.ch == '\n' || cell.ch == '\r') return '.';
  return colorCode(cell.foreground);
}

char CellGrid::colorCode(sf::Color color) {
  for (int i = BLACK; i <= WHITE; i++)
    if (color == colorToSFML(static_cast<Color>(i))) return COLOR_LETTERS[i];
  return '?';
}

sf::Color CellGrid::colorOfCode(char code) {
  for (int i = BLACK; i <= WHITE; i++)
    if (code == COLOR_LETTERS[i]) return colorToSFML(static_cast<Color>(i));
  return sf::Color::White;
}

char CellGrid::textCharacter(char ch) { return ch >= ' ' && ch <= '~' ? ch : '?'; }

bool CellGrid::operator==(const CellGrid& other) const {
  return columns == other.columns && rows == other.rows && background == other.background &&
         cells == other.cells;
}

}  // namespace tx
