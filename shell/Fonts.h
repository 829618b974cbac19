#pragma once

// Gives the application the classic font, "ＭＳ Ｐゴシック" at 9 points, with Japanese substitutes
// where it is missing: IPAPGothic, then Noto Sans CJK JP.
void UseClassicFont();
