#pragma once

#include "app/InputEvent.h"

// Carries out one queued event: walking, jumping, firing, hit points and the console lines.
void handleEvent(InputEvent event);
