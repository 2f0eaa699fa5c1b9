#pragma once

#include <QIcon>
#include <QImage>

// The numbered pictures of the program's image lists, each number mapped to one 16 x 16
// picture here, so stores and pages that keep picture numbers all show the same thing.
namespace PictureTable {

// The main window's image list (window-list and history nodes, side-panel tabs) and ImageList2
// (list and page nodes of the Lists and OffLine trees).
enum ImageList { MainList, ListPictures, MailPictures };

inline constexpr int Size = 16;

// Main list.
inline constexpr int OfflineTab = 3;
inline constexpr int WindowNode = 13;
inline constexpr int WindowNodeSelected = 14;
inline constexpr int HistoryTab = 15;
inline constexpr int DateNode = 16;
inline constexpr int FavoritesTab = 16;
inline constexpr int ListsTab = 26;
// ImageList2.
inline constexpr int ListNode = 0;
inline constexpr int PageNode = 1;
// The mail window's ImageList1.
inline constexpr int InBoxNode = 0;
inline constexpr int UnReadNode = 1;
inline constexpr int UnreadMessage = 2;
inline constexpr int MessageNode = 3;

// The picture from the desktop's icon theme, or one drawn here when the theme has none; a null
// image for a number the table does not hold.
QImage image(ImageList list, int number);
QIcon icon(ImageList list, int number);
// A node's picture, and the one it shows while selected (-1: the plain one).
QIcon nodeIcon(ImageList list, int picture, int selectedPicture = -1);

} // namespace PictureTable
