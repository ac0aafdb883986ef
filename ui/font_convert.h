// From Qt's fonts back to the settings' logical-font record, the way back of
// FontFromLogFont. The record's numbers count pixels on screen; Qt has no
// character set, precisions or quality, so those travel through unchanged.
#ifndef VORLAN_UI_FONT_CONVERT_H
#define VORLAN_UI_FONT_CONVERT_H

#include "settings/font_setting.h"
#include "ui/display_font.h"

#include <QFont>

// The record of font, starting from base for the fields Qt does not keep
// (width, escapement, orientation, character set, precisions, quality, and
// the family bits unless the face changed). A font sized in points is
// converted to pixels at dpi dots per inch; the height is always stored
// negative. The pitch follows the face actually matched.
LogFont LogFontFromFont(const QFont& font, const LogFont& base, double dpi);

// The vertical resolution of the primary screen, or 96 without one.
double ScreenDpi();

#endif
