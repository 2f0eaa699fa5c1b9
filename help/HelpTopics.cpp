#include "help/HelpTopics.h"

#include "app/CaseFold.h"

#include <array>

namespace HelpTopics {

namespace {

struct Topic
{
    const char *title;
    const char *file;
};

constexpr std::array<Topic, Count> table{{
    {"About Quillmere", "about_quillmere.htm"},
    {"Assigning Web Sites to Toolbar Buttons and Function Keys",
     "assigning_buttons_to_web_sites.htm"},
    {"Browsing the Web", "web_browser_window.htm"},
    {"Color Settings", "set_quillmere_colors.htm"},
    {"Contents", "index.htm"},
    {"Creating and Using Favorite Lists", "creating_and_using_favorite_list.htm"},
    {"Creating and Using Favorites", "creating_and_using_favorites.htm"},
    {"Creating New Folders for Favorites", "creating_new_folders_for_favorit.htm"},
    {"Deleting and Renaming Favorites", "deleting_and_renaming_favorites.htm"},
    {"Displaying Web Page History", "displaying_web_page_history.htm"},
    {"Displaying Web Sites automatically", "set_quillmere_option.htm"},
    {"E-Mail Address Book", "e-mail address list.htm"},
    {"E-Mail Address List", "e-mail address list.htm"},
    {"E-Mail Files over the Internet", "sending files over the internet.htm"},
    {"Favorite Lists of Web Sites", "creating_and_using_favorite_list.htm"},
    {"Favorite Web Sites", "creating_and_using_favorites.htm"},
    {"Favorites Folder Creation", "creating_new_folders_for_favorit.htm"},
    {"File Properties", "web_browser_window.htm"},
    {"General Overview of Quillmere", "welcome_to_quillmere.htm"},
    {"Getting Started", "using_quillmere.htm"},
    {"Installing and Removing the Program", "installing_and_removing_the_prog.htm"},
    {"Introduction", "welcome_to_quillmere.htm"},
    {"Quillmere", "using_quillmere.htm"},
    {"Quillmere Options", "set_quillmere_option.htm"},
    {"New Folders for Favorites", "creating_new_folders_for_favorit.htm"},
    {"Program Options", "set_quillmere_option.htm"},
    {"Renaming Favorites", "deleting_and_renaming_favorites.htm"},
    {"Running a Web Site List", "running_a_web_site_list.htm"},
    {"Set Quillmere Colors", "set_quillmere_colors.htm"},
    {"Set Quillmere Options", "set_quillmere_option.htm"},
    {"Set Program Colors", "set_quillmere_colors.htm"},
    {"Set Window Colors", "set_quillmere_colors.htm"},
    {"Setting Program Options", "set_quillmere_option.htm"},
    {"Table of Contents", "Index.htm"},
    {"The Web Browser Window", "web_browser_window.htm"},
    {"Toolbar Buttons and Function Keys", "assigning_buttons_to_web_sites.htm"},
    {"UnInstall Program", "installing_and_removing_the_prog.htm"},
    {"Using Favorite Lists", "creating_and_using_favorite_list.htm"},
    {"Using Quillmere", "using_quillmere.htm"},
    {"Viewer Window", "web_browser_window.htm"},
}};

} // namespace

QStringList titles()
{
    QStringList result;
    for (const Topic &topic : table)
        result << QString::fromLatin1(topic.title);
    return result;
}

QStringList files()
{
    QStringList result;
    for (const Topic &topic : table)
        result << QString::fromLatin1(topic.file);
    return result;
}

int findTopic(const QString &text)
{
    const QString wanted = CaseFold::lower(text);
    for (int i = 0; i < Count; ++i) {
        if (CaseFold::lower(QString::fromLatin1(table[i].title)).startsWith(wanted))
            return i;
    }
    return -1;
}

} // namespace HelpTopics
