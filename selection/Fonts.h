#pragma once

#include <QFont>

// The classic font, "ＭＳ Ｐゴシック" at points, with the fonts that stand in where it is missing:
// IPAPGothic, then Noto Sans CJK JP, then WenQuanYi Micro Hei for the characters of Chinese and
// Korean players' names that the Japanese fonts lack.
QFont ClassicFont(double points);

// Gives the application the classic font at 9 points.
void UseClassicFont();
