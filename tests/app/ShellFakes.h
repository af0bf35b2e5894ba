// Stand-ins for the window's menu, file dialogs and clock.
#pragma once

#include "app/MenuLayout.h"
#include "platform/FileDialogs.h"
#include "platform/Menu.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Check marks as the menu layout starts them; items without a mark keep none.
class FakeMenu : public platform::Menu {
public:
    FakeMenu()
    {
        ForEachMenuCommand(MainMenuLayout(), [this](const MenuNode& node) {
            if (node.checkable) marks[node.id] = node.marked;
        });
    }
    bool CheckItem(int id, bool checked) override
    {
        calls.push_back(id);
        const auto mark = marks.find(id);
        if (mark == marks.end()) return false;
        const bool was = mark->second;
        mark->second = checked;
        return was;
    }
    bool IsChecked(int id) const override
    {
        const auto mark = marks.find(id);
        return mark != marks.end() && mark->second;
    }
    // What the window does with a menu the shell rebuilds: its items and
    // their marks replace those it had.
    void Replace(const MenuNode& menu)
    {
        for (const int id : menuItems[menu.text]) marks.erase(id);
        menuItems[menu.text].clear();
        ForEachMenuCommand(menu.entries, [&](const MenuNode& node) {
            menuItems[menu.text].push_back(node.id);
            if (node.checkable) marks[node.id] = node.marked;
        });
        menus[menu.text] = menu;
    }

    std::map<int, bool> marks;
    std::map<std::string, std::vector<int>> menuItems;  // of the menus replaced so far
    std::map<std::string, MenuNode> menus;
    std::vector<int> calls;
};

// Answers each dialog with the next queued answer (nothing: cancelled), and
// can run something while "the dialog is open".
class FakeDialogs : public platform::FileDialogs {
public:
    std::optional<std::string> Ask(const platform::FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (whileOpen) {
            const auto action = whileOpen;  // the action may replace itself
            action();
        }
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<platform::FileDialogRequest> requests;
    std::function<void()> whileOpen;
};

// A tick counter the test moves by hand; counts how often it is read.
struct FakeClock {
    std::uint32_t now = 0;
    int reads = 0;
    std::function<std::uint32_t()> Source()
    {
        return [this] {
            ++reads;
            return now;
        };
    }
};
