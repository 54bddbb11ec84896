#pragma once

class CommandStore;
class InterfaceStore;

// The application's two persistent lists, as the views reach them. Both live as long as the
// application; the views only borrow them.
struct Stores {
    CommandStore &commands;
    InterfaceStore &interfaces;
};
