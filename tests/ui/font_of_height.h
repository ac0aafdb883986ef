// A font description of a given character height, for tests that count
// pixels.
#ifndef VORLAN_TESTS_UI_FONT_OF_HEIGHT_H
#define VORLAN_TESTS_UI_FONT_OF_HEIGHT_H

#include "ui/display_font.h"

// From a font this system has; lfHeight 0 when no size gives height.
inline LogFont FontOfHeight(int height) {
    for (int pixels = 4; pixels <= 40; ++pixels) {
        LogFont logFont;
        SetFaceName(logFont, "DejaVu Sans Mono");
        logFont.lfHeight = -pixels;
        if (MeasureFont(FontFromLogFont(logFont)).height == height)
            return logFont;
    }
    LogFont none;
    none.lfHeight = 0;
    return none;
}

#endif
