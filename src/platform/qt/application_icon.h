// The application icon (wrench and screwdriver) as Qt sees it: the window's
// icon and Picture1's picture.
#pragma once

#include <QIcon>

namespace colfix {

// Every rendered size (16, 32, 48, 128) from the embedded resources.
QIcon ApplicationIcon();

}  // namespace colfix
