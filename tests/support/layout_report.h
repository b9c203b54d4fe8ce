#pragma once

#include <string>

// Each dialog's size and its controls' rectangles, one line each, as the
// test program lays them out in a child process with its own scale factor;
// the child also saves a screenshot of each dialog.
std::string layoutInChild(const char* scaleFactor);

bool isLayoutReport();
int runLayoutReport();
