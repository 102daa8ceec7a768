// Fixture of the private-header check: code outside the window layer that includes one of
// its private headers. The check must reject this tree. Never compiled.
#include "platform/ui/core/CWnd_p.h"
