/* The built lumaconv, run as a user would. */
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "engine_test_support.h"

namespace {

struct Outcome {
    int code;
    std::string out, err;
};

class Lumaconv : public ::testing::Test {
protected:
    void SetUp() override { dir = make_scratch_dir(); }
    void TearDown() override { remove_tree(dir); }
    Outcome run(const std::string &args) {
        std::string out = dir + "/stdout.txt", err = dir + "/stderr.txt";
        std::string command = std::string(LUMACONV_PATH) + " " + args + " >" + out + " 2>" + err + " </dev/null";
        int status = system(command.c_str());
        Outcome r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
        unlink(out.c_str());
        unlink(err.c_str());
        return r;
    }
    std::string dir;
};

TEST_F(Lumaconv, UsageErrorsExitWithTwo) {
    EXPECT_EQ(run("").code, 2);
    EXPECT_EQ(run("frobnicate").code, 2);
    EXPECT_EQ(run("convert onlyone.bmp").code, 2);
    EXPECT_EQ(run("convert a.bmp b.gif --depth 7").code, 2);
    EXPECT_EQ(run("convert a.bmp b.gif --dither wobbly").code, 2);
    EXPECT_EQ(run("convert a.bmp b.gif --gray --color").code, 2);
    EXPECT_EQ(run("convert a.bmp b.gif --set nosuch=1").code, 2);
    EXPECT_EQ(run("convert a.bmp b.gif --answer maybe").code, 2);
    EXPECT_EQ(run("batch in out").code, 2) << "--to is required";
    EXPECT_EQ(run("formats extra").code, 2);
    Outcome help = run("--help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("convert IN OUT"), std::string::npos);
}

TEST_F(Lumaconv, FormatsListsTheCatalogue) {
    Outcome r = run("formats");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 36);
    EXPECT_EQ(r.out.find("0\t*\tyes\tno\t0/0/0/0/0/0\t3\t* - List all files\n"), 0u);
    EXPECT_NE(r.out.find("\n25\tPCX\tyes\tyes\t10/11/11/0/11/0\t81\tPCX- PC Paintbrush\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n8\tEPS\tno\tyes\t3/3/3/0/3/0\t38\tEPS- Encap. Postscript\n"), std::string::npos);
}

TEST_F(Lumaconv, FailuresShowTheMessageTextAndExitWithOne) {
    write_file(dir + "/in.bmp", "BM");
    Outcome r = run(dir + "/in.bmp " + dir + "/out.gif");
    EXPECT_EQ(r.code, 2) << "the command word is missing";
    r = run("convert " + dir + "/in.bmp " + dir + "/out.gif");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error, not a Legitimate DIB File!\n");
    r = run("convert " + dir + "/in.xyz " + dir + "/out.gif");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Unsupported file type for image:" + dir + "/in.xyzcannot load.\n");
    r = run("info " + dir + "/in.img");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "IMG files cannot be read\n");
    r = run("convert " + dir + "/in.bmp " + dir + "/out.gif --depth 24");
    EXPECT_EQ(r.code, 1);
}

TEST_F(Lumaconv, BatchReportsEveryFileAndAsksToCancel) {
    std::string in = dir + "/in", out = dir + "/out";
    ASSERT_EQ(mkdir(in.c_str(), 0777), 0);
    ASSERT_EQ(mkdir(out.c_str(), 0777), 0);
    write_file(in + "/a.bmp", "BM");
    write_file(in + "/b.pcx", "x");
    write_file(in + "/notes.txt", "x");
    Outcome r = run("batch " + in + " " + out + " --to gif");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("failed\t" + in + "/a.bmp -> " + out + "/a.gif\n"), std::string::npos);
    EXPECT_NE(r.out.find("failed\t" + in + "/b.pcx -> " + out + "/b.gif\n"), std::string::npos);
    EXPECT_EQ(r.out.find("notes"), std::string::npos);
    EXPECT_NE(r.out.find("Batch Processing Complete\n0 converted, 2 failed, 0 not started\n"), std::string::npos);
    EXPECT_NE(r.err.find("Error, not a Legitimate DIB File!\n\nCancel Batch?\n(answered No)"),
              std::string::npos);
    r = run("batch " + in + " " + out + " --to gif --answer yes");
    EXPECT_NE(r.out.find("Batch Processing Aborted\n0 converted, 1 failed, 1 not started\n"), std::string::npos);
    r = run("batch " + in + " " + dir + "/missing --to gif");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Illegal or non-existant output directory '" + dir + "/missing'\n");
    for (const char *f : {"/a.bmp", "/b.pcx", "/notes.txt"}) unlink((in + f).c_str());
    rmdir(in.c_str());
    rmdir(out.c_str());
}

}  // namespace
