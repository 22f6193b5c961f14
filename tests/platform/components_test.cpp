#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/recordset.h"
#include "platform/components.h"

namespace {

using core::DataSetState;
using platform::DataSource;

void declare(core::RecordSet& s) {
    s.addField("CODIGO", core::FieldType::String, 4);
    s.open();
    for (const char* c : {"A", "B"}) {
        s.append();
        s["CODIGO"].setValue(c);
        s.post();
    }
    s.mergeChangeLog();
    s.first();
}

TEST(DataSource, RaisesAStateChangeOnEachNewStateAndWhenPointedElsewhere) {
    core::RecordSet inspections("cdsInspecAudit"), items("cdsItemInsAudit");
    declare(inspections);
    declare(items);
    platform::ComponentModel comps;
    DataSource& ds = comps.addDataSource("dtsPadrao", &inspections);
    std::vector<DataSetState> states;
    int dataChanges = 0;
    ds.onStateChange.connect([&](DataSource& d) { states.push_back(d.state()); });
    ds.onDataChange.connect([&](DataSource&) { ++dataChanges; });

    inspections.next();  // a scroll changes the data shown, not the state
    EXPECT_TRUE(states.empty());
    EXPECT_GT(dataChanges, 0);
    inspections.edit();
    inspections["CODIGO"].setValue("C");  // still editing: no new state
    inspections.post();
    inspections.append();
    inspections.cancel();
    EXPECT_EQ(states, (std::vector<DataSetState>{DataSetState::Edit, DataSetState::Browse, DataSetState::Insert,
                                                 DataSetState::Browse}));

    // Pointed at the items (adding the same name again re-points it, its listeners stay).
    states.clear();
    items.edit();
    EXPECT_EQ(&comps.addDataSource("dtsPadrao", &items), &ds);
    EXPECT_EQ(states, (std::vector<DataSetState>{DataSetState::Edit}));
    inspections.edit();  // the old set no longer reaches it
    items.post();
    EXPECT_EQ(states, (std::vector<DataSetState>{DataSetState::Edit, DataSetState::Browse}));
    ds.setDataSet(nullptr);
    EXPECT_EQ(states.back(), DataSetState::Inactive);
    inspections.cancel();
}

TEST(Keys, KeyDownThenKeyPressAndASwallowedKeyGoesNoFurther) {
    platform::Control grid;
    std::vector<std::string> log;
    grid.onKeyDown = [&](platform::Key& k) {
        log.push_back("down " + std::to_string(k.code) + (k.alt ? " alt" : ""));
        if (k.alt && k.is(platform::vk::Next)) k.clear();  // Alt+PageDown moves on, swallowed
    };
    grid.onKeyPress = [&](platform::Key& k) {
        log.push_back("press " + k.text);
        if (k.text == "a") k.text = "A";
    };
    auto altPageDown = platform::Key::named(platform::vk::Next, true);
    EXPECT_FALSE(platform::raiseKey(grid, altPageDown));
    auto a = platform::Key::typed("a");
    EXPECT_TRUE(platform::raiseKey(grid, a));
    EXPECT_EQ(a.text, "A");
    auto f9 = platform::Key::named(platform::vk::F9);  // types nothing: no key press
    EXPECT_TRUE(platform::raiseKey(grid, f9));
    EXPECT_EQ(log, (std::vector<std::string>{"down 34 alt", "down 65", "press a", "down 120"}));

    EXPECT_TRUE(platform::Key::named(platform::vk::Numpad0 + 7).isDigit());
    EXPECT_TRUE(platform::Key::typed("7").isDigit());
    EXPECT_FALSE(platform::Key::typed("a").isDigit());
    EXPECT_FALSE(platform::Key::named(platform::vk::Return).typesText());
    EXPECT_TRUE(platform::Key::named(platform::vk::Back).typesText());
}

TEST(Grid, ColumnsAreFoundByFieldWhateverTheCase) {
    platform::Control grid;
    grid.columns = {{"CDARVINSPEC", "Análise"}, {"IDINSPCONC", "Sit."}};
    ASSERT_NE(grid.column("idinspconc"), nullptr);
    EXPECT_EQ(grid.column("idinspconc")->title, "Sit.");
    EXPECT_EQ(grid.column("NADA"), nullptr);
    EXPECT_EQ(grid.selectedField(), "CDARVINSPEC");  // the first column until one is chosen
    grid.selectedColumn = 1;
    EXPECT_EQ(grid.selectedField(), "IDINSPCONC");
}

}  // namespace
