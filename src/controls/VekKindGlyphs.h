#pragma once
#include <QImage>

// The pictures of the dialog button kinds by resource name ("VEKBBOK", "VEKBBCANCEL",
// "VEKBBHELP", "VEKBBYES", "VEKBBNO", "VEKBBCLOSE", "VEKBBABORT", "VEKBBRETRY",
// "VEKBBIGNORE", "VEKBBALL"): two 18-pixel cells side by side, the picture and its
// disabled form (white and grey only), on an olive background. 18 pixels high,
// "VEKBBALL" 19. A null image for an unknown name.
QImage LoadKindGlyphResource(const char* Name);
