#pragma once
// Support sits at the bottom of the map: this include points upward.
#include "uHigh.h"
