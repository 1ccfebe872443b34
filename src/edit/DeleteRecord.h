// Deleting the record of the edit row after a confirmation.
#pragma once

void deleteItem();
