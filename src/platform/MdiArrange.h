#pragma once
// The class library's tiling of an MDI area's child windows, which Qt's own tiler
// does not match: it tiles in columns and lets windows that cannot shrink to their
// cell overlap their neighbours.

class QMdiArea;

// Tiles the area's child windows so that each lies inside the visible area and
// none overlaps another; minimised ones keep their row at the bottom. Horizontal tiling stacks the
// windows one above the other; with four or more, they go into as many columns
// as the square root of their number allows, the later columns one window
// longer where they do not divide evenly. Maximised windows become normal first.
void TileHorizontally(QMdiArea* Area);
