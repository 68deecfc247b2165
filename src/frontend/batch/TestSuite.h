// EPD test suites.
#pragma once

// Runs the suite file in the mode the settings select ("-ts", "-pev", "-mimicstudent").
// Returns the exit code (1 when the file cannot be read to its end).
int ParseEPDSuite(const char* fileName);
