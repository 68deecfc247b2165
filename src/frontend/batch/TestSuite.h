// EPD test suites.
#pragma once

// Runs the suite file in the mode the settings select ("-ts", "-pev", "-mimicstudent").
void ParseEPDSuite(const char* fileName);
