#include "app/CShellState.h"

CShellState& CShellState::Get()
{
    static CShellState s_state;
    return s_state;
}
