#include "Low.h"
#include "high/High.h"
#include "low/Low.h"

#include <vector>

int Low()
{
    return High() - 1;
}
