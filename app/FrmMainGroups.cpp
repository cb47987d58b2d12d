// The group panel of the main window: a group's members are picked from the
// main list, listed in StrGrdGroup, and stored with Enter.

#include "app/FrmMain.h"

#include "core/RcrdFuncs.h"
#include "editors/EditorSupport.h"
#include "widgets/KyStringGrid.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velnor::app {

using ui::TKyStringGrid;

void TFormMain::buildGroupPanel(QWidget* panel)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    auto* label = new QLabel(tr("Group name"), panel);
    label->setObjectName(QStringLiteral("Label1"));
    bar->addWidget(label);
    grpName_ = new QLineEdit(panel);
    grpName_->setObjectName(QStringLiteral("grpName"));
    bar->addWidget(grpName_, 1);
    QStyle* s = style();
    const auto addButton = [&](const char* name, const QString& hint, const QIcon& icon,
                               void (TFormMain::*handler)()) {
        bar->addWidget(makeToolButton(panel, name, hint, icon, handler));
    };
    addButton("ToolBtnInsert", tr("Insert"), s->standardIcon(QStyle::SP_ArrowDown), &TFormMain::ToolBtnInsertClick);
    addButton("ToolBtnDelete", tr("Delete"), s->standardIcon(QStyle::SP_TrashIcon), &TFormMain::ToolBtnDeleteClick);
    addButton("ToolBtnEnter", tr("Enter"), s->standardIcon(QStyle::SP_DialogApplyButton),
              &TFormMain::ToolBtnEnterClick);
    bar->addStretch();
    addButton("ToolButton2", tr("Exit"), s->standardIcon(QStyle::SP_DialogCloseButton), &TFormMain::ToolButton2Click);
    layout->addLayout(bar);
    strGrdGroup_ = new TKyStringGrid(panel);
    strGrdGroup_->setObjectName(QStringLiteral("StrGrdGroup"));
    layout->addWidget(strGrdGroup_, 1);
}

void TFormMain::SetGroupListStatus(TGroupListStatus status)
{
    groupListStatus_ = status;
    const bool open = status == gls_ready;
    if (open) {
        strGrdGroup_->setCells(0, 0, QStringLiteral("Category"));
        strGrdGroup_->setCells(3, 0, QStringLiteral("Toponym"));
        strGrdGroup_->setCells(4, 0, QStringLiteral("Units"));
        strGrdGroup_->setCells(5, 0, QStringLiteral("Needs (hm3/y)"));
        panel2_->show();
        const int total = splitter1_->height();
        splitter1_->setSizes({std::max(total - strGrdGroupHeight_, 0), strGrdGroupHeight_});
    } else {
        panel2_->hide();
    }
    strGrdGroup_->setEnabled(open);
    for (QAction* a : {mnFile_->menuAction(), mnUser_->menuAction(), mnHelp_->menuAction(), mnResults_})
        a->setEnabled(!open);
    for (QToolButton* b : findChild<QToolBar*>(QStringLiteral("MainToolBar"))->findChildren<QToolButton*>())
        b->setEnabled(!open);
    // Closing the panel leaves the menus and buttons as the list's rules want them.
    if (!open)
        refreshMenu();
}

void TFormMain::Splitter1Moved()
{
    if (groupListStatus_ == gls_ready && splitter1_->sizes().size() == 2)
        SetStrGrdGroupHeight(splitter1_->sizes()[1]);
}

void TFormMain::SelGroup()
{
    WatConsRec.clear();
    selectedRec_ = -1;
    refreshGroupData();
    SetGroupListStatus(gls_ready);
}

void TFormMain::openGroupPanel(int recordNr)
{
    if (recordNr < 0 || std::size_t(recordNr) >= WatUserRec.size())
        return;
    const TWaterUser& group = WatUserRec[std::size_t(recordNr)];
    WatConsRec.assign(group.WatConsRec.size(), TWaterConsumptor{});
    CopyArrayWatConsRec(group.WatConsRec, WatConsRec);
    selectedRec_ = recordNr;
    refreshGroupData();
    SetGroupListStatus(gls_ready);
}

void TFormMain::refreshGroupData()
{
    TKyStringGrid& g = *strGrdGroup_;
    g.setFixedRows(0);
    g.setRowCount(1);
    grpName_->clear();
    const int n = int(WatConsRec.size());
    g.setRowCount(n + 1);
    for (int i = 0; i < n; ++i) {
        const int index = FindWatUsIndxId(WatConsRec[std::size_t(i)].CnsmpId);
        if (index == NotFound) {
            g.setRow(i + 1, {QString(), QString(), QString(), QString(), QString(), QString()});
            continue;
        }
        const TWaterUser& u = WatUserRec[std::size_t(index)];
        const int t = FindWatUsTypeIndxId(u.Category);
        g.setRow(i + 1, {t == NotFound ? QString() : QString::fromStdString(WatUsTypRec[std::size_t(t)].Name),
                         QString::number(u.Category), QString::number(u.Geo_id),
                         ui::FromModel(u.Toponym.str()), QString::number(u.UnitsNum),
                         ui::FixedText("%7.3f", u.YearNeeds)});
    }
    if (g.RowCount() > 1)
        g.setFixedRows(1);
    grpName_->setText(selectedRec_ < 0 ? QStringLiteral("new Group")
                                       : strGrdAllNeeds_->Cells(3, selectedRec_ + 1));
}

void TFormMain::ToolBtnInsertClick()
{
    const ui::TGridRect sel = strGrdAllNeeds_->Selection();
    if (sel.Bottom == 0)
        return;
    for (int r = std::max(sel.Top, 1); r <= sel.Bottom; ++r) {
        if (std::size_t(r - 1) >= WatUserRec.size() || strGrdAllNeeds_->Cells(1, r) == QLatin1String("-1"))
            continue;
        const int id = WatUserRec[std::size_t(r - 1)].Geo_id;
        int at = -1;
        if (!Exist_cons(id, at)) {
            AddExRecGrp(id, 1, int(WatConsRec.size()));
            refreshGroupData();
        }
    }
}

void TFormMain::ToolBtnDeleteClick()
{
    const ui::TGridRect sel = strGrdGroup_->Selection();
    if (sel.Bottom == 0)
        return;
    for (int r = sel.Bottom; r >= std::max(sel.Top, 1); --r)
        if (std::size_t(r - 1) < WatConsRec.size())
            DelConsRecord(r - 1);
    refreshGroupData();
}

void TFormMain::ToolBtnEnterClick()
{
    int id = 0;
    const bool isNew = selectedRec_ < 0;
    if (isNew) {
        id = NewWUId(); // may refuse; nothing is reserved yet
        selectedRec_ = int(WatUserRec.size());
        WatUserRec.append();
    } else {
        id = WatUserRec[std::size_t(selectedRec_)].Geo_id;
    }
    const std::string name = ui::ToModel(grpName_->text());
    try {
        WatUserRec[std::size_t(selectedRec_)].Toponym = name;
        ExToIntRec(CatGroup, name, id, selectedRec_);
    } catch (...) {
        // A new group that could not be stored leaves no empty record behind.
        if (isNew) {
            WatUserRec.erase(std::size_t(selectedRec_));
            selectedRec_ = -1;
        }
        throw;
    }
    refreshForm();
    SetGroupListStatus(gls_invisible);
    SetScenarioChanged(true);
}

void TFormMain::ToolButton2Click()
{
    SetGroupListStatus(gls_invisible);
}

} // namespace velnor::app
