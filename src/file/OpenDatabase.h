// Choosing, backing up and loading a database.
#pragma once

#include <string>

// The Open button: a file chooser, then open_database on the chosen file.
void choose_database();

// Backs the file up and runs the loading sequence on it.
void open_database(const std::string& path);
