// Between the settings' logical-font record and Qt's fonts. The record's
// numbers count pixels on screen; Qt has no character set, precisions or
// quality, so those travel through a conversion unchanged.
#ifndef VORLAN_UI_FONT_CONVERT_H
#define VORLAN_UI_FONT_CONVERT_H

#include "settings/font_setting.h"

#include <QFont>

// The font a record describes, sized in pixels: a negative height is the
// character height without internal leading (Qt's pixel size), a positive
// one the whole cell, which is scaled down by the face's leading. Height 0
// and weight 0 leave Qt's defaults. A face that is not installed falls back
// to one of the same pitch and family.
QFont FontFromLogFont(const LogFont& logFont);

// The record of font, starting from base for the fields Qt does not keep
// (width, escapement, orientation, character set, precisions, quality, and
// the family bits when font gives no style hint). A font sized in points is
// converted to pixels at dpi dots per inch; the height is always stored
// negative. The pitch follows the face actually matched.
LogFont LogFontFromFont(const QFont& font, const LogFont& base, double dpi);

// The vertical resolution of the primary screen, or 96 without one.
double ScreenDpi();

#endif
