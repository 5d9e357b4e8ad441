// The game application: its window, menu and game model.
#pragma once

namespace tallowmere {

// Runs the application until it quits; returns the exit status.
int runApplication(int argc, char** argv);

}  // namespace tallowmere
