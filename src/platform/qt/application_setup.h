// What frmMain needs of the whole application rather than of one window, set
// once after the application object exists and before the window is built.
#pragma once

namespace colfix {

// Makes screen readers know frmMain as a window, and has the application's
// style fit each check box's square and caption into its 13 pixels.
void SetUpApplication();

}  // namespace colfix
