// Edit-row operations: fill, empty, keep and restore the one-row edit table.
// None of them touches the database.
#pragma once

#include <string>
#include <vector>

void loadEditRow(const std::vector<std::string>& record);
void newItem();
void setAsTemplate();
void useTemplate();
