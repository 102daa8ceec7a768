// Fixture of the private-header check (platform/ui internal): a private header included
// from inside the layer, which the check must accept. Never compiled.
#pragma once

#include "platform/ui/core/CWnd_p.h"
