// Reading the command line into the settings.
#pragma once

// Examines each argument against every option in order; several options
// can fire on one argument, and an option with a value moves the
// remaining tests of the pass onto that value. "-h"/"-help" print the
// option list and end the process.
void ParseCommandLine(int argc, char** argv);
