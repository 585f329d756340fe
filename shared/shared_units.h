// Start-up and exit of the units shared with the package's other programs.
#pragma once

// Starts the shared units in their fixed order: the log (MyLog), the shared
// state with the settings and the language selection, then the word lists
// and their translation. The destructor finalises them in reverse order:
// the word lists, the shared state, the log. One object covers the whole
// run of the program. Never fails.
class SharedUnits {
public:
    SharedUnits();
    ~SharedUnits();
    SharedUnits(const SharedUnits&) = delete;
    SharedUnits& operator=(const SharedUnits&) = delete;
};
