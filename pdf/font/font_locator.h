// Finds an installed font file through fontconfig.
#pragma once

#include <string>

// The best installed match for a fontconfig pattern ("DejaVu Sans",
// "Noto Sans CJK JP:bold"). False when the pattern names a family that no
// installed font has: fontconfig would otherwise answer with its default
// font, and a chart in a font the user did not ask for is a wrong result.
bool locateFont(const char* pattern, std::string* file, unsigned* faceIndex);
