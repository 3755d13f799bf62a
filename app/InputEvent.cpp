#include "app/InputEvent.h"

InputEvent keySymbolEvent(Game* world, int32_t kind, SDLKey key)
{
    InputEvent event;
    event.sdlEvent.key.keysym.sym = key;
    event.kind = kind;
    event.world = world;
    return event;
}

InputEvent polledEvent(Game* world, int32_t kind, const SDL_Event& polled)
{
    InputEvent event;
    event.sdlEvent = polled;
    event.kind = kind;
    event.world = world;
    return event;
}
