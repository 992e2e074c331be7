// Resource identifiers shared by the resource script and the code that loads
// them. The icon has the lowest id so that it is the executable's icon too.
#pragma once

#define IDI_COLFIX 1
