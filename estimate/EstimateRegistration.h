// Makes the estimate part of the program: estimates (template IDR_MORVELTYPE) open as
// CMorvelEMDoc in the estimate window (CChildEMFrame) with the estimate grid view
// (CMorvelEMView). The grid's own resources (its cursor and pop-up menus) are registered
// too. main() calls this first of the registration functions; tests that open estimates
// call it as well.
#pragma once

void RegisterEstimate();
