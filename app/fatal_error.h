// The program's error box.
#pragma once

// Shows "message.", the calling thread's last error code and the system's text
// for it in a warning box captioned "Yanra Fatal", and returns once the user
// closes it. The caller decides whether the program goes on.
void ReportFatalError(const char* message);
