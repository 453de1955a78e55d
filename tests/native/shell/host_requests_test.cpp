// Each host service is one host message with its fields in place, and the
// host library's table hands out increasing menu ids per plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin_table.h"
#include "plugins/hostapi/host_requests.h"

namespace {

struct Sent {
  UINT n;
  HostParamBlock block;
};

struct Recorder {
  std::vector<Sent> sent;
  LRESULT answer = 0;
};

LRESULT record(void *context, UINT message, HostParamBlock *block) {
  Recorder *r = (Recorder *)context;
  r->sent.push_back({message - HM_BASE, *block});
  if (message == HM_BASE + HR_PRODUCT) strcpy((char *)block->field[HPB_PATH], "Lumacast");
  return r->answer;
}

HostLink link_to(Recorder *r) {
  HostLink l = {};
  l.send = record;
  l.context = r;
  return l;
}

HWND window(ULONG_PTR v) { return (HWND)v; }

} // namespace

TEST(HostRequests, EveryServiceIsItsHostMessage) {
  Recorder r;
  HostLink l = link_to(&r);
  HWND w = window(0x4242);
  char text[] = "help";
  BYTE record_bytes[232] = {};
  rq_get_hdib(&l, w);
  rq_copy_hdib(&l, w);
  rq_replace_hdib(&l, w, (HGLOBAL)0x77);
  rq_get_flag(&l, w, 0x40);
  rq_set_info(&l, w, 24, 8);
  rq_get_palette(&l, w);
  rq_paint_dib(&l, (HANDLE)0x99, (HGLOBAL)0x77);
  rq_show_help_text(&l, text);
  rq_progress_start(&l, w, text);
  rq_progress_range(&l, 0, 480);
  rq_progress_step(&l, 16);
  rq_progress_end(&l);
  rq_fmt_register(&l, record_bytes);
  rq_fmt_progress_range(&l, 0, 100);
  rq_fmt_progress_step(&l, 50);
  rq_fmt_set_info_word(&l, 8, 640);
  rq_fmt_set_info_long(&l, 32, 123456);
  rq_fmt_set_info_text(&l, 52, text);
  rq_fmt_info_done(&l);
  rq_in_batch(&l);
  rq_get_batch_session(&l);
  const UINT expected[] = {4, 7, 11, 2, 1, 6, 35, 29, 15, 14, 17, 18, 27, 21, 24, 22, 25, 23, 26, 32, 42};
  ASSERT_EQ(r.sent.size(), sizeof expected / sizeof expected[0]);
  for (size_t i = 0; i < r.sent.size(); i++) EXPECT_EQ(r.sent[i].n, expected[i]) << i;
  auto f = [&](size_t i, int field) { return r.sent[i].block.field[field]; };
  EXPECT_EQ(f(0, HPB_WINDOW), 0x4242u);
  EXPECT_EQ(f(2, HPB_DIB), 0x77u);
  EXPECT_EQ(f(3, HPB_ARG8), 0x40u);
  EXPECT_EQ(f(4, HPB_OFFSET), 24u);
  EXPECT_EQ(f(4, HPB_ARG8), 8u);
  EXPECT_EQ(f(6, 4), 0x99u);
  EXPECT_EQ(f(6, HPB_DIB), 0x77u);
  EXPECT_EQ(f(7, HPB_PATH), (ULONG_PTR)text);
  EXPECT_EQ(f(8, HPB_WINDOW), 0x4242u);
  EXPECT_EQ(f(9, HPB_ARG9), 480u);
  EXPECT_EQ(f(10, HPB_ARG8), 16u);
  EXPECT_EQ(f(12, HPB_RECORD), (ULONG_PTR)record_bytes);
  EXPECT_EQ(f(15, HPB_OFFSET), 8u);
  EXPECT_EQ(f(15, HPB_ARG8), 640u);
  EXPECT_EQ(f(16, HPB_ARG8), 123456u);
  EXPECT_EQ(f(17, HPB_OFFSET), 52u);
  EXPECT_EQ(f(17, HPB_PATH), (ULONG_PTR)text);
}

TEST(HostRequests, AnswersComeBackAndNegativeNumbersStay32Bit) {
  Recorder r;
  HostLink l = link_to(&r);
  r.answer = 1;
  EXPECT_TRUE(rq_get_flag(&l, window(1), 0x200));
  EXPECT_TRUE(rq_in_batch(&l));
  r.answer = 0x1234;
  EXPECT_EQ(rq_get_batch_session(&l), 0x1234);
  rq_progress_range(&l, -1, -2);
  EXPECT_EQ(r.sent.back().block.field[HPB_ARG8], 0xFFFFFFFFu);
  r.answer = 0x10010332; // the product message's version word
  char product[64], version[64];
  rq_get_settings_key(&l, product, version);
  EXPECT_STREQ(product, "Lumacast");
  EXPECT_STREQ(version, "3.50");
  HostLink none = {};
  EXPECT_EQ(rq_get_hdib(&none, window(1)), nullptr); // no host: every request is 0
  EXPECT_EQ(rq_reserve_menu_id(&none), 0u);
}

TEST(PluginTable, IdsIncreasePerPluginAndRunOut) {
  PluginTable t;
  plugin_table_init(&t, 100, 104);
  EXPECT_EQ(plugin_table_take_id(&t), 0u); // no plug-in is being initialised
  ASSERT_EQ(plugin_table_add(&t, (void *)1), 0);
  EXPECT_EQ(plugin_table_take_id(&t), 100u);
  EXPECT_EQ(plugin_table_take_id(&t), 101u);
  plugin_table_end_init(&t);
  ASSERT_EQ(plugin_table_add(&t, (void *)2), 1);
  EXPECT_EQ(plugin_table_take_id(&t), 102u);
  EXPECT_EQ(plugin_table_take_id(&t), 103u);
  EXPECT_EQ(plugin_table_take_id(&t), 104u);
  EXPECT_EQ(plugin_table_take_id(&t), 0u); // exhausted
  plugin_table_end_init(&t);
  EXPECT_EQ(plugin_table_owner(&t, 101), 0);
  EXPECT_EQ(plugin_table_owner(&t, 102), 1);
  EXPECT_EQ(plugin_table_owner(&t, 99), -1);
  EXPECT_EQ(plugin_table_owner(&t, 105), -1);
  // A plug-in whose init fails leaves no slot behind, and its ids are gone.
  plugin_table_init(&t, 100, 200);
  plugin_table_add(&t, (void *)1);
  plugin_table_take_id(&t);
  plugin_table_drop_current(&t);
  EXPECT_EQ(t.count, 0);
  EXPECT_EQ(plugin_table_owner(&t, 100), -1);
  for (int i = 0; i < PT_MAX_PLUGINS; i++) EXPECT_GE(plugin_table_add(&t, (void *)(ULONG_PTR)(i + 1)), 0);
  EXPECT_EQ(plugin_table_add(&t, (void *)99), -1);
}
