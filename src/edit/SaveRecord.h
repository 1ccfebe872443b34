// Saving the edit row: checks, then UPDATE or INSERT.
#pragma once

void updateItem();
