#include "app/ShellState.h"

ShellState& TheShellState()
{
    static ShellState state;
    return state;
}
