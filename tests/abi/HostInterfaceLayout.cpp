// Compiled alone for each real target, syntax only: the host-interface
// header's size and offset pins then hold for that target's ABI.
#include "host/AE_HostInterface.h"
