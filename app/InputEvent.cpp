#include "app/InputEvent.h"

InputEvent keySymbolEvent(Game* world, int32_t kind, int32_t key)
{
    InputEvent event;
    event.sdlEvent.key.keysym.sym = static_cast<SDLKey>(key);
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
