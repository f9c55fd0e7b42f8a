// The trace control's dispatch interface: member order, identity and fresh-instance state.

#include "CViewerCtrl.h"

#include <QMetaClassInfo>
#include <QMetaMethod>
#include <QMetaProperty>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ownProperties(const QMetaObject& meta) {
    std::vector<std::string> names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        names.emplace_back(meta.property(i).name());
    }
    return names;
}

std::vector<std::string> ownMethods(const QMetaObject& meta, QMetaMethod::MethodType type) {
    std::vector<std::string> names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == type) {
            names.emplace_back(meta.method(i).methodSignature().toStdString());
        }
    }
    return names;
}

TEST(ViewerInterface, PropertiesMethodsAndEventsStandInDispatchOrder) {
    const QMetaObject& meta = CViewerCtrl::staticMetaObject;
    const std::vector<std::string> properties = {
        "fontBold",       "fontItalic", "fontName",  "fontSize",     "labelsColor",
        "traceOverLabel", "gridType",   "gridColor", "pathSettings", "numMont",
        "gratis",         "notchFreq",  "ViewMode",  "BackColor",    "BorderStyle"};
    EXPECT_EQ(ownProperties(meta), properties);

    const std::vector<std::string> methods = {"ModifyGain(std::span<const int32_t>,bool)",
                                              "Redraw(bool)",
                                              "GetGainEEG()",
                                              "DrawPage(int32_t)",
                                              "GetPosNote(int32_t)",
                                              "totalTrcSec()",
                                              "DeselectAll()",
                                              "GetNumArchivedMontage()",
                                              "SetGainEEG(int32_t)",
                                              "FileName(QString)",
                                              "GetMont(int32_t)",
                                              "GetVideoOneSfasFrame()",
                                              "GetMaxLarghEtichette()",
                                              "GetPixelPosition(int32_t)",
                                              "GetSurName()",
                                              "GetName()",
                                              "GetBirthDate()",
                                              "GetExamDate()",
                                              "GetDateTimeFromSeconds(int32_t)",
                                              "GetArchivedMontName(int16_t)",
                                              "SetHighFilterEEG(int32_t)",
                                              "SetLowFilterEEG(int32_t)",
                                              "GetHighFilterEEG()",
                                              "GetLowFilterEEG()",
                                              "SetNotchFilter(int16_t)",
                                              "GetNotchFilter()",
                                              "GetSfasVideo(int32_t,int32_t*)",
                                              "GetNextFileVideoStart(int32_t)",
                                              "ThereIsVideo()",
                                              "SetSecNumber(float)",
                                              "secNumber()",
                                              "GetTime(float)"};
    EXPECT_EQ(ownMethods(meta, QMetaMethod::Method), methods);

    const std::vector<std::string> events = {
        "DeleteNote()", "NoteNotification(int16_t,int32_t,QString)", "CambiatoMontaggio()"};
    EXPECT_EQ(ownMethods(meta, QMetaMethod::Signal), events);
}

TEST(ViewerInterface, IdentityAndFreshInstanceState) {
    const QMetaObject& meta = CViewerCtrl::staticMetaObject;
    const int progId = meta.indexOfClassInfo("ProgID");
    ASSERT_GE(progId, 0);
    EXPECT_STREQ(meta.classInfo(progId).value(), "VIEWER.ViewerCtrl.1");
    EXPECT_STREQ(meta.classInfo(meta.indexOfClassInfo("ClassID")).value(),
                 "{936702E5-1EA0-11D5-878C-0000E865F2F8}");

    CViewerCtrl ctrl;
    EXPECT_EQ(ctrl.numMont(), 0);
    EXPECT_EQ(ctrl.notchFreq(), 50);
    EXPECT_TRUE(ctrl.traceOverLabel());
    EXPECT_EQ(ctrl.fontSize(), 10);
    EXPECT_FALSE(ctrl.gratis());
    EXPECT_EQ(ctrl.fontName(), QString());
    EXPECT_EQ(ctrl.pathSettings(), QString());
    EXPECT_FLOAT_EQ(ctrl.secNumber(), 10.0f);
    const viewer::Recording& rec = ctrl.recording();
    EXPECT_EQ(rec.maxPageMs, 1000);
    EXPECT_EQ(rec.noteCount, 1000);
    EXPECT_EQ(rec.historyIndex, 0);
    EXPECT_EQ(rec.historySamples[0], -1);
    EXPECT_EQ(rec.historySamples[127], -1);
    EXPECT_FALSE(rec.fileInvalid);
    EXPECT_EQ(rec.pageStart, 0u);
}

} // namespace
