// TAlignment: the horizontal alignment of a control's text (entry fields,
// status bar panels).
#pragma once

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
