// Where frmMain stands when it is first shown: centred on the screen's
// available area, worked out the same way by both back ends.
#pragma once

namespace colfix {

// Where a window `length` pixels long starts, along one axis, to stand centred
// in an area of the screen.
constexpr int CentredStart(int areaStart, int areaLength, int length) {
  return areaStart + (areaLength - length) / 2;
}

}  // namespace colfix
