// The result view's font: a font description (the profile's font record) as
// a Qt font, and the two measures the view lays its lines out by.
#ifndef VORLAN_UI_DISPLAY_FONT_H
#define VORLAN_UI_DISPLAY_FONT_H

#include "settings/font_setting.h"

#include <QFont>

class QPaintDevice;

// A negative height is the character height in pixels, a positive one the
// cell height (character height and internal leading), 0 the default size.
// A typeface the system does not have gives, when the description asks for
// fixed pitch (or the modern family), a font whose digits, spaces, report
// punctuation and Latin letters all have one advance: the system's
// fixed-pitch font when it is one, else another family that is; for a
// Japanese, Chinese or Korean character set, such a font that has the
// script is preferred. Otherwise it gives the general system font. The
// other fields keep their meaning. Escapement and
// orientation are not shown: report lines are drawn level.
QFont FontFromLogFont(const LogFont& logFont);

// The measures of a font on a device (the screen when device is null).
struct FontMetrics {
    int height = 0;       // H: character cell height, ascent plus descent
    int aveCharWidth = 0; // W: average character width
    int ascent = 0;       // from the top of a cell to its base line
};
FontMetrics MeasureFont(const QFont& font, QPaintDevice* device = nullptr);

#endif
