#pragma once

#include <QString>

// The user's Favorites folder: $QUILLMERE_FAVORITES when set, otherwise ~/Favorites. The folder
// is created when missing; the result is empty when it neither exists nor can be created.
QString favoritesFolder();
