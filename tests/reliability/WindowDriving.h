#pragma once

// The operator's hand on a working window inside the main window, for the reliability tests that
// drive windows: typing, buttons, grid cells and headers, lists, the catalog tree and the Catalog
// Edit menu, with the dialogs' answers queued beforehand.
#include "ScriptedDialogs.h"
#include "WindowHarness.h"
#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

// What the operator does, on the window and the main window, with the dialogs' answers queued.
struct Context
{
    MDIfrmMain &main;
    QWidget &window;
    ScriptedDialogs &dialogs;

    template <typename T> T *get(const char *name) const { return ::control<T>(window, name); }
    QLineEdit *box(const char *name) const { return get<QLineEdit>(name); }
    void retype(const char *name, const QString &text) const
    {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void press(const char *name) const
    {
        QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton);
    }
    void clickCell(const char *grid, int row, int col) const
    {
        FlexGrid *g = get<FlexGrid>(grid);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
    }
    void doubleClickCell(const char *grid, int row, int col) const
    {
        FlexGrid *g = get<FlexGrid>(grid);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->cellRect(row, col).center());
    }
    // Double-clicks a column's header and answers the search's input box.
    void search(const char *grid, int col, const QString &criterion) const
    {
        FlexGrid *g = get<FlexGrid>(grid);
        dialogs.answerInput(criterion);
        QTest::mouseDClick(g->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           g->cellRect(0, col).center());
    }
    void pick(const char *list, const QString &text) const
    {
        auto *l = get<QListWidget>(list);
        l->clearSelection();
        const auto found = l->findItems(text, Qt::MatchExactly);
        if (!found.isEmpty())
            QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              l->visualItemRect(found.first()).center());
    }
    void clickNode(const QString &key) const
    {
        auto *tree = get<QTreeView>("tvCatalogTree");
        auto *model = static_cast<frmCatEditTreeModel *>(tree->model());
        const QModelIndex index = model->indexOfKey(key);
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            tree->expand(up);
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }
    void menu(const char *item, const QString &tag) const
    {
        static_cast<frmCatEdit &>(window).setTag(tag);
        main.menuItem(QString::fromLatin1(item))->trigger();
    }
};
