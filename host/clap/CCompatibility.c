// Built as C so that the declarations stay usable from plain C.
#include "host/clap/Clap.h"

_Static_assert(sizeof(clap_event_transport_t) == 104, "transport event layout");
_Static_assert(sizeof(clap_param_info_t) == 1320, "parameter info layout");
