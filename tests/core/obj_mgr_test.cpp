#include "core/settings/obj_mgr.h"

#include <gtest/gtest.h>
#include <map>

namespace dw {
namespace {

TEST(ObjMgr, ParsesSixTrimmedFields) {
    struct Case {
        const char* line;
        ObjMgrItem expected;
    } const cases[] = {
        {"split2;Position;Software\\Velmora Corporation\\Task;Split2;296;1",
         {"split2", "Position", "Software\\Velmora Corporation\\Task", "Split2", "296", "1"}},
        {"  split1 ;\tPosition\r; K ;\x01Split1\x1f; 314 ;1\r\n",
         {"split1", "Position", "K", "Split1", "314", "1"}},
        {"a;b", {"a", "b", "", "", "", ""}},
        {"", {"", "", "", "", "", ""}},
        {"a;b;c;d;e;f;g;h", {"a", "b", "c", "d", "e", "f"}},
        {";;;;9;", {"", "", "", "", "9", ""}},
        {"a; two words ;c;d;e;f", {"a", "two words", "c", "d", "e", "f"}},
    };
    for (const auto& c : cases) {
        const ObjMgrItem got = parseObjMgrItem(c.line);
        const std::vector<std::string> g = {got.component, got.property,     got.keyPath,
                                            got.valueName, got.defaultValue, got.flag};
        const ObjMgrItem& e = c.expected;
        const std::vector<std::string> w = {e.component, e.property,     e.keyPath,
                                            e.valueName, e.defaultValue, e.flag};
        EXPECT_EQ(g, w) << c.line;
    }
}

TEST(ObjMgr, MainWindowItemsInOrder) {
    const auto items = mainWindowObjMgrItems();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], "split2;Position;Software\\Velmora Corporation\\Task;Split2;296;1");
    const char* expected[][3] = {{"split2", "Position", "296"},
                                 {"frmMain", "ClientHeight", "450"},
                                 {"frmMain", "ClientWidth", "630"},
                                 {"split1", "Position", "314"},
                                 {"splitDay", "Position", "156"}};
    for (std::size_t i = 0; i < 5; ++i) {
        const ObjMgrItem it = parseObjMgrItem(items[i]);
        EXPECT_EQ(it.component, expected[i][0]);
        EXPECT_EQ(it.property, expected[i][1]);
        EXPECT_EQ(it.defaultValue, expected[i][2]);
        EXPECT_EQ(it.flag, "1");
    }
}

// A window "frmMain" with two splitters and a client size.
struct Window {
    std::map<std::string, int> values{{"split2", -1},
                                      {"split1", -1},
                                      {"splitDay", -1},
                                      {"ClientHeight", -1},
                                      {"ClientWidth", -1}};
    TablePropertyHost host{"frmMain"};
    Window() {
        for (const char* s : {"split2", "split1", "splitDay"})
            host.addProperty(
                s, "Position", [this, s] { return values[s]; },
                [this, s](int v) { values[s] = v; });
        for (const char* p : {"ClientHeight", "ClientWidth"})
            host.addOwnerProperty(
                p, [this, p] { return values[p]; }, [this, p](int v) { values[p] = v; });
    }
};

TEST(ObjMgr, FirstRunLoadsTheDefaults) {
    MapSettingsBackend b;
    SettingsStore s(b);
    Window w;
    PropertyMemory(mainWindowObjMgrItems()).load(s, w.host);
    EXPECT_EQ(w.values, (std::map<std::string, int>{{"split2", 296},
                                                    {"split1", 314},
                                                    {"splitDay", 156},
                                                    {"ClientHeight", 450},
                                                    {"ClientWidth", 630}}));
    EXPECT_TRUE(b.values().empty());
}

TEST(ObjMgr, LoadTakesStoredValuesAndKeepsPropertiesOnNonIntegers) {
    MapSettingsBackend b;
    SettingsStore s(b);
    b.setValue("", "split2", "120");        // value names ignore case
    b.setValue("", "ClientHeight", "wide"); // not an integer: property untouched
    b.setValue("", "ClientWidth", "0x300"); // hexadecimal is an integer too
    b.setValue("Options", "Split1", "999"); // another section is not the key itself
    Window w;
    w.values["ClientHeight"] = 77;
    PropertyMemory(mainWindowObjMgrItems()).load(s, w.host);
    EXPECT_EQ(w.values["split2"], 120);
    EXPECT_EQ(w.values["ClientHeight"], 77);
    EXPECT_EQ(w.values["ClientWidth"], 0x300);
    EXPECT_EQ(w.values["split1"], 314);
    EXPECT_EQ(w.values["splitDay"], 156);

    // A non-integer default leaves the property too.
    Window w2;
    PropertyMemory({"split1;Position;Software\\Velmora Corporation\\Task;Nothing;abc;1"})
        .load(s, w2.host);
    EXPECT_EQ(w2.values["split1"], -1);
}

TEST(ObjMgr, NamesResolveAndUnknownOnesAreSkipped) {
    MapSettingsBackend b;
    SettingsStore s(b);
    const std::string key = "\\SOFTWARE\\velmora corporation\\TASK";
    PropertyMemory mgr({
        "SPLIT1;position;" + key + ";A;11;1",            // components and properties: any case
        "FRMMAIN;ClientHeight;" + key + ";B;22;1",       // the window's own name: exact case
        "frmMain;clientwidth;" + key + ";C;33;1",        //
        "gridDay;Position;" + key + ";D;44;1",           // no such component
        "split2;Width;" + key + ";E;55;1",               // no such property
        " ; ; ; ;66;1",                                  // empty line
        "splitDay;Position;Software\\Other\\App;F;77;1", // key out of reach: the default
    });
    Window w;
    mgr.load(s, w.host);
    EXPECT_EQ(w.values["split1"], 11);
    EXPECT_EQ(w.values["ClientHeight"], -1);
    EXPECT_EQ(w.values["ClientWidth"], 33);
    EXPECT_EQ(w.values["split2"], -1);
    EXPECT_EQ(w.values["splitDay"], 77);

    w.values["split1"] = 5;
    w.values["ClientWidth"] = 6;
    mgr.save(s, w.host);
    EXPECT_EQ(b.values(), (std::map<std::string, std::string>{{"/a", "5"}, {"/c", "6"}}));
}

TEST(ObjMgr, SaveThenLoadKeepsTheLayout) {
    MapSettingsBackend b;
    SettingsStore s(b);
    Window w;
    w.values = {{"split2", 0},
                {"split1", 263},
                {"splitDay", 151},
                {"ClientHeight", 500},
                {"ClientWidth", -3}};
    const PropertyMemory mgr(mainWindowObjMgrItems());
    mgr.save(s, w.host);
    EXPECT_EQ(b.value("", "Split2"), "0");
    EXPECT_EQ(b.value("", "ClientWidth"), "-3");
    EXPECT_EQ(b.values().size(), 5u);
    Window back;
    mgr.load(s, back.host);
    EXPECT_EQ(back.values, w.values);
}

} // namespace
} // namespace dw
