#pragma once

namespace Player {

// One visitor from several lambdas, for std::visit over the player's event and command variants.
template <class... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };

} // namespace Player
