#include "classlib/qt/treemodel.h"

#include <QAbstractItemModelTester>
#include <QTest>
#include <QTreeView>
#include <memory>

namespace {

WTreeItem AddChild(WTreeStore& store, WTreeItem parent, const std::string& label, int image = 2) {
    return store.Add(label, parent, image, image, WTreePosition::Last());
}

QStringList ChildLabels(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList labels;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        labels << model.index(row, 0, parent).data().toString();
    }
    return labels;
}

// Gives one item three children, made when asked for.
class ThreeOnDemand : public WTreeChildSource {
public:
    explicit ThreeOnDemand(WTreeItem parent) : parent_(parent) {}
    bool Provides(WTreeItem item) const override { return item == parent_; }
    bool HasChildren(const WTreeStore&, WTreeItem) override { return true; }
    void MakeChildren(WTreeStore& store, WTreeItem item) override {
        if (item != parent_ || store.HasChildren(item)) {
            return;
        }
        for (const char* label : {"a.h", "b.h", "c.h"}) {
            AddChild(store, item, label);
        }
    }
    bool WalkDescendants(const WTreeStore&, WTreeItem, int, const Visit&) override { return true; }

private:
    WTreeItem parent_;
};

}  // namespace

class TreeModelTest : public QObject {
    Q_OBJECT

private slots:
    void passesTheModelTesterThroughEditsAndBulkChanges() {
        WTreeStore store;
        WTreeModel model(store);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const WTreeItem root = AddChild(store, kNoItem, "Project: p [p.wpj]");
        const WTreeItem first = AddChild(store, root, "Target: a");
        AddChild(store, root, "Target: c");
        // Make the tables, as a view expanding the nodes would.
        const QModelIndex rootIndex = model.index(0, 0, {});
        QCOMPARE(model.rowCount(rootIndex), 2);
        store.Add("Target: b", root, 1, 1, WTreePosition::After(first));
        QCOMPARE(ChildLabels(model, rootIndex),
                 (QStringList{"Target: a", "Target: b", "Target: c"}));
        AddChild(store, first, "Target Name: a.exe");
        QCOMPARE(model.rowCount(model.index(0, 0, rootIndex)), 1);
        store.SetLabel(first, "Target: a  Windows");
        QCOMPARE(model.index(0, 0, rootIndex).data().toString(), QString("Target: a  Windows"));
        store.Delete(first);
        QCOMPARE(ChildLabels(model, rootIndex), (QStringList{"Target: b", "Target: c"}));
        store.DeleteAll();
        QCOMPARE(model.rowCount({}), 0);

        // A bulk change resets once; icons follow the item images.
        QPixmap red(16, 16);
        red.fill(Qt::red);
        model.SetIcons({QIcon(), QIcon(red)});
        int resets = 0;
        connect(&model, &QAbstractItemModel::modelReset, this, [&resets]() { ++resets; });
        model.BeginBulkChange();
        const WTreeItem project = AddChild(store, kNoItem, "Project", 1);
        for (int i = 0; i < 100; ++i) {
            AddChild(store, project, "file" + std::to_string(i));
        }
        model.EndBulkChange();
        QCOMPARE(resets, 1);
        const QModelIndex projectIndex = model.index(0, 0, {});
        QCOMPARE(model.rowCount(projectIndex), 100);
        QCOMPARE(model.index(99, 0, projectIndex).data().toString(), QString("file99"));
        QCOMPARE(projectIndex.data(Qt::DecorationRole).canConvert<QIcon>(), true);
        QCOMPARE(model.index(0, 0, projectIndex).data(Qt::DecorationRole).isValid(), false);
    }

    void childrenMadeOnDemandComeWhenExpanded() {
        WTreeStore store;
        WTreeModel model(store);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const WTreeItem source = AddChild(store, AddChild(store, kNoItem, "Project"), "s.c");
        store.SetChildSource(std::make_unique<ThreeOnDemand>(source));
        QTreeView view;
        view.setModel(&model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QModelIndex sourceIndex = model.index(0, 0, model.index(0, 0, {}));
        QCOMPARE(model.hasChildren(sourceIndex), true);
        QCOMPARE(model.rowCount(sourceIndex), 0);
        view.expand(model.index(0, 0, {}));
        view.expand(sourceIndex);
        QTRY_COMPARE(model.rowCount(sourceIndex), 3);
        QCOMPARE(ChildLabels(model, sourceIndex), (QStringList{"a.h", "b.h", "c.h"}));
        QCOMPARE(model.canFetchMore(sourceIndex), false);
    }

    void hugeChildListsCostNothingUntilAsked() {
        WTreeStore store;
        const WTreeItem root = AddChild(store, kNoItem, "Project");
        const WTreeItem group = AddChild(store, root, "Filelist");
        for (int i = 0; i < 200000; ++i) {
            AddChild(store, group, "f" + std::to_string(i));
        }
        WTreeModel model(store);
        QTreeView view;
        view.setModel(&model);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(model.CachedTableCount(), std::size_t{0});
        view.expand(model.index(0, 0, {}));
        QCOMPARE(model.CachedTableCount(), std::size_t{1});
        const QModelIndex groupIndex = model.index(0, 0, model.index(0, 0, {}));
        view.expand(groupIndex);
        QCOMPARE(model.rowCount(groupIndex), 200000);
        QCOMPARE(model.index(199999, 0, groupIndex).data().toString(), QString("f199999"));
        QCOMPARE(model.parent(model.index(123456, 0, groupIndex)), groupIndex);
        // Leaves never get a table of their own.
        QCOMPARE(model.CachedTableCount(), std::size_t{2});
    }
};

QTEST_MAIN(TreeModelTest)
#include "treemodel_test.moc"
