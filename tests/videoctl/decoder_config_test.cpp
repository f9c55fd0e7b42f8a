// The decoder settings: their order, what a refusal stops, and the real decoders' knobs.

#include "decoder_config.h"
#include "element_knobs.h"
#include "failure_codes.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace clipdeck;

namespace {

class FakeKnobs : public DecoderKnobs {
public:
    std::set<std::string> offered;
    std::string refused;
    std::vector<std::pair<std::string, int32_t>> set_;
    int commits = 0;

    bool offers(const char* parameter) const override { return offered.count(parameter) > 0; }
    uint32_t set(const char* parameter, int32_t value) override {
        if (refused == parameter) {
            return hr::kInvalidArg;
        }
        set_.emplace_back(parameter, value);
        return hr::kOk;
    }
    uint32_t commit() override {
        ++commits;
        return hr::kOk;
    }
};

} // namespace

class DecoderConfig : public ::testing::Test {
protected:
    std::vector<std::string> texts;
    Reporter recorder() {
        return [this](const std::string&, const std::string& text) { texts.push_back(text); };
    }
};

TEST_F(DecoderConfig, Mpeg2ParametersGoInOrderAndSkipThoseTheDecoderLacks) {
    FakeKnobs knobs;
    knobs.offered = {"clsid", "EMC_Quality", "EMC_MultiThread", "EMC_Deinterlace"};
    EXPECT_EQ(configureMpeg2Decoder(knobs, recorder()), hr::kOk);
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"EMC_Quality", 0}, {"EMC_Deinterlace", 4}, {"EMC_MultiThread", 1}, {"clsid", 1}};
    EXPECT_EQ(knobs.set_, expected);
    EXPECT_EQ(knobs.commits, 1);
    EXPECT_TRUE(texts.empty());
}

TEST_F(DecoderConfig, ARefusalStopsTheRestAndTheCommit) {
    FakeKnobs knobs;
    knobs.offered = {"EMC_Quality", "EMC_Brightness", "EMC_MultiThread", "clsid"};
    knobs.refused = "EMC_Brightness";
    EXPECT_EQ(configureMpeg2Decoder(knobs, recorder()), hr::kInvalidArg);
    ASSERT_EQ(knobs.set_.size(), 1u);
    EXPECT_EQ(knobs.set_[0].first, "EMC_Quality");
    EXPECT_EQ(knobs.commits, 0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "FAILED(hr=0x80070057) in pConfig->SetValue(&EMC_Brightness, &val)\n");

    texts.clear();
    knobs = FakeKnobs{};
    knobs.offered = {"clsid"};
    knobs.refused = "clsid";
    configureMpeg2Decoder(knobs, recorder());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "FAILED(hr=0x80070057) in pConfig->SetValue(&clsid, &val)\n");
}

TEST_F(DecoderConfig, ADecoderWithoutKnobsIsLeftAlone) {
    FakeKnobs knobs;
    EXPECT_EQ(configureMpeg2Decoder(knobs, recorder()), hr::kOk);
    EXPECT_EQ(configureAvcDecoder(knobs, recorder()), hr::kOk);
    EXPECT_EQ(knobs.commits, 0);
    knobs.offered = {"EMC_DeinterlaceMode"};
    EXPECT_EQ(configureAvcDecoder(knobs, recorder()), hr::kOk);
    ASSERT_EQ(knobs.set_.size(), 1u);
    EXPECT_EQ(knobs.set_[0], std::make_pair(std::string("EMC_DeinterlaceMode"), 1));
    EXPECT_EQ(knobs.commits, 1);
    EXPECT_TRUE(texts.empty());
}

TEST_F(DecoderConfig, TheMpeg2DecoderGetsMultithreadingAndFullResolution) {
    gst_init(nullptr, nullptr);
    GstElement* decoder = gst_element_factory_make("avdec_mpeg2video", nullptr);
    ASSERT_NE(decoder, nullptr);
    gst_object_ref_sink(decoder);
    g_object_set(decoder, "max-threads", 3, "lowres", 1, nullptr);
    ElementKnobs knobs(decoder);
    EXPECT_TRUE(knobs.offers("EMC_MultiThread"));
    EXPECT_FALSE(knobs.offers("EMC_Quality"));
    texts.clear();
    EXPECT_EQ(configureMpeg2Decoder(knobs, recorder()), hr::kOk);
    int threads = -1;
    int lowres = -1;
    g_object_get(decoder, "max-threads", &threads, "lowres", &lowres, nullptr);
    EXPECT_EQ(threads, 0); // as many as the machine has
    EXPECT_EQ(lowres, 0);
    EXPECT_TRUE(texts.empty());
    gst_object_unref(decoder);
}
