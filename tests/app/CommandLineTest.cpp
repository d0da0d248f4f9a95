// The command line: options, and paths made absolute against the start folder.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace dz {
namespace {

using Action = CommandLine::Action;

CommandLine parse(std::vector<std::string> args) {
    return parse_command_line(args, "/home/u/music");
}

TEST(CommandLineTest, OptionsEndTheRunOrFailAndDropThePaths) {
    CommandLine help = parse({"a.ptcop", "--help"});
    EXPECT_EQ(help.action, Action::Help);
    EXPECT_TRUE(help.paths.empty());
    EXPECT_EQ(parse({"-h"}).action, Action::Help);
    EXPECT_EQ(parse({"--version", "a.ptcop"}).action, Action::Version);
    EXPECT_EQ(parse({"-V"}).action, Action::Version);
    EXPECT_EQ(parse({"--version", "--help"}).action, Action::Help);

    // --desktop only marks the run; after "--" it is a path.
    CommandLine desktop = parse({"--desktop", "a.ptcop"});
    EXPECT_EQ(desktop.action, Action::Run);
    EXPECT_TRUE(desktop.desktop);
    EXPECT_EQ(desktop.paths, std::vector<std::string>{"/home/u/music/a.ptcop"});
    EXPECT_FALSE(parse({"a.ptcop"}).desktop);
    EXPECT_FALSE(parse({"--", "--desktop"}).desktop);

    CommandLine bad = parse({"a.ptcop", "--shuffle", "--help", "-x"});
    EXPECT_EQ(bad.action, Action::Error);
    EXPECT_NE(bad.error.find("'--shuffle'"), std::string::npos) << bad.error;
    EXPECT_TRUE(bad.paths.empty());
    EXPECT_EQ(parse({"-help"}).action, Action::Error);
    EXPECT_EQ(parse({"--help=1"}).action, Action::Error);

    // After "--", and for a lone "-", arguments are paths.
    CommandLine files = parse({"--", "--help", "-x.ptcop"});
    EXPECT_EQ(files.action, Action::Run);
    EXPECT_EQ(files.paths,
              (std::vector<std::string>{"/home/u/music/--help", "/home/u/music/-x.ptcop"}));
    EXPECT_EQ(parse({"-"}).paths, std::vector<std::string>{"/home/u/music/-"});
    EXPECT_EQ(parse({}).action, Action::Run);
}

TEST(CommandLineTest, PathsAreAbsoluteAndUrlsKeptInOrder) {
    CommandLine cl = parse({
        "a.ptcop",
        "./sub/../b.pttune",
        "../list.ptlist",
        "",
        "/abs/c.ptcop",
        "folder/",
        "http://example.com/t.ptcop?x=1",
        "Intro: part 1.ptcop",  // a colon without "//" is part of a file name
        "file:///tmp/a%20b%2Fc.ptcop",
        "file://localhost/tmp/d.ptcop",
        "file://other-host/e.ptcop",
        "file:///tmp/50%.ptcop",
    });
    ASSERT_EQ(cl.action, Action::Run);
    EXPECT_EQ(cl.paths, (std::vector<std::string>{
                            "/home/u/music/a.ptcop",
                            "/home/u/music/b.pttune",
                            "/home/u/list.ptlist",
                            "/abs/c.ptcop",
                            "/home/u/music/folder",
                            "http://example.com/t.ptcop?x=1",
                            "/home/u/music/Intro: part 1.ptcop",
                            "/tmp/a b/c.ptcop",
                            "/tmp/d.ptcop",
                            "file://other-host/e.ptcop",
                            "/tmp/50%.ptcop",
                        }));
    EXPECT_EQ(parse_command_line({"x.ptcop"}, "/").paths, std::vector<std::string>{"/x.ptcop"});
}

}  // namespace
}  // namespace dz
