// The outer frame of a run: entry, run sequence.
#pragma once

// The whole program for one command-line text: clears the data table, shows
// the notice on an empty command line (exit code 1), else runs the chart and
// logs "Finished". Returns the exit code.
int plotvaneEntry(const char* commandLine);

// Interprets the commands, checks the required settings, prepares the data
// and renders. 0 when the PDF was written, 1 otherwise.
int runChart(const char* commandLine);
