#include "resources/MorvelResources.h"

#include "resources/SharedControlResources.h"

void RegisterMorvelResources()
{
    // Registration only stores factories and ids; running it again replaces each entry with
    // an equal one, but once is enough.
    static const bool s_registered = [] {
        RegisterMorvelStrings();
        RegisterMorvelMenus();
        RegisterMorvelAccelerators();
        RegisterMorvelImages();
        RegisterMorvelToolBars();
        RegisterMorvelDialogs();
        RegisterSharedControlResources();
        return true;
    }();
    (void)s_registered;
}
