// The number of GDI objects this process holds. GetGuiResources is not
// implemented under Wine, so this counts the used entries of the process's
// GDI handle table (reachable from the PEB).
#pragma once

int GdiObjectCount();
