#pragma once
// The hand-over of a second start's paths to the running instance.
#include <string>

#include "platform/handover_block.h"

struct App;

// A second start's paths to the running instance, tried again while it is too busy to
// take them (the shell's copy of a big file holds its main thread); after a minute a
// message says how many did not get there.
void HandOverToRunningInstance(App&, const std::string& registryName);
