#include "CliInProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The tables command talks to no processor: it runs in this process.
Run RunTables(const QStringList& args) {
    const auto run = setfolio::testing::RunCliInProcess(QStringList{"tables"} + args);
    return {run.exitCode, QByteArray::fromStdString(run.out), QByteArray::fromStdString(run.err)};
}

TEST(CliTables, PrintsTheAssembledTablesAsJson) {
    for (const QString model : {"C-12", "0"}) {
        const auto run = RunTables({model});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QJsonParseError error;
        const auto json = QJsonDocument::fromJson(run.out, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        EXPECT_EQ(json["entry"].toString(), "C-12");
        EXPECT_EQ(json["modelType"].toInt(-1), 0);
        EXPECT_EQ(json["family"].toString(), "coded");
        EXPECT_EQ(json["mnemonic"].toArray().size(), 191);
        EXPECT_EQ(json["conditional"].toArray().size(), 92);
        EXPECT_EQ(json["numeric"].toArray().size(), 117);
        EXPECT_EQ(json["header"].toArray().size(), 1);
        const auto resolution = json["mnemonic"].toArray()[9].toObject();
        EXPECT_EQ(resolution["name"].toString(), "Resolution");
        EXPECT_EQ(resolution["values"].toArray()[6].toString(), " XXXXXX");
        const auto magData = json["conditional"].toArray()[0].toObject();
        EXPECT_EQ(magData["source"].toString(), "MagSrc1");
        EXPECT_EQ(magData["valueSets"].toArray()[4].toArray()[0].toString(), QString(11, ' '));
    }

    const auto menu = QJsonDocument::fromJson(RunTables({"M-02"}).out).object();
    EXPECT_EQ(menu["family"].toString(), "menu");
    EXPECT_TRUE(menu["library"].isArray());
    EXPECT_FALSE(menu.contains("mnemonic"));
}

TEST(CliTables, AnUnknownModelIsOneLineAndExitStatus2) {
    for (const QStringList& args : {QStringList{"C-99"}, QStringList{"47"}, QStringList{}}) {
        const auto run = RunTables(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("setfolio-cli: ")) << run.err.toStdString();
    }
    EXPECT_EQ(RunTables({"C-99"}).err, "setfolio-cli: unknown model 'C-99'\n");
}

} // namespace
