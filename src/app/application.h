#pragma once

/** The program's entry: command-line work, or the main window with the login inside it. */
int runQuorvane(int argc, char* argv[]);
