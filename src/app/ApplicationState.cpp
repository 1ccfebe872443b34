// The one instance of the process-wide application state.  It is built at
// static initialisation, before main: every widget handle null, 25 empty
// column names, a column count of 0 and a template of 25 empty texts.
#include "app/ApplicationState.h"

ApplicationState appState;
