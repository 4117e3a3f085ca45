#pragma once
#include <QByteArray>

// Files embedded at build time (see resources/gen_resources.py): "FONT_STANDARD",
// "FONT_INTERNATIONAL", "RESFONT1" (the ATASCII face) and the pictures of resources/
// under their upper-case stem. An unknown name gives an empty array.
QByteArray GetResource(const char* Name);
