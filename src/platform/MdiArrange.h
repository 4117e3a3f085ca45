#pragma once
// The class library's arrangement of an MDI area's child windows, which Qt's own
// does not match: its tiler works in columns and lets windows that cannot shrink
// to their cell overlap their neighbours, its cascade keeps each window's size
// hint and runs past the area, and neither leaves the rows of minimised windows
// free.

class QMdiArea;

// Lines the minimised child windows up in rows from the bottom of the visible
// area, left to right, a new row above once the next would pass the right edge;
// in the area's order of windows and cells as wide as the widest, so the rows are
// the ones Qt makes itself whenever a window is minimised or the area is resized.
// Returns the height the rows take.
int ArrangeIcons(QMdiArea* Area);

// Tiles the area's child windows so that each lies inside the visible area above
// the rows of minimised windows and none overlaps another. Horizontal tiling
// stacks the windows one above the other; with four or more, they go into as
// many columns as the square root of their number allows, the later columns one
// window longer where they do not divide evenly. Maximised windows become normal
// first; the icons are arranged first.
void TileHorizontally(QMdiArea* Area);

// Cascades the area's child windows from the top left, one title-bar height right
// and down per window, the active one last and in front: all get one size that
// keeps each inside the visible area above the icon rows. Windows beyond one
// diagonal go onto diagonals behind it that start again at the top, each one step
// further right, so that every title bar shows. Maximised windows become normal
// first; the icons are arranged first.
void Cascade(QMdiArea* Area);
