// The toolkit behind the platform, set up once per process.
#pragma once

namespace platform {

// Creates the application object and installs the input routing.  Must
// come before any window is made; argc and argv must outlive the process.
void InitializeApplication(int& argc, char** argv);
bool IsApplicationInitialized();

} // namespace platform
