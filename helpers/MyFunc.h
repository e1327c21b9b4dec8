#pragma once
// The helpers every part of the program uses: numbers, Shift-JIS text, geometry.
#include "helpers/Geometry.h"
#include "helpers/Numbers.h"
#include "helpers/SjisText.h"
