#include "asf_reader.h"

namespace clipdeck {

namespace {

constexpr char kFileName[] = "File";

void exposeStream(GstElement* demux, GstPad* pad, gpointer) {
    GstElement* reader = GST_ELEMENT(GST_OBJECT_PARENT(demux));
    GstPad* ghost = gst_ghost_pad_new(GST_PAD_NAME(pad), pad);
    gst_pad_set_active(ghost, TRUE);
    gst_element_add_pad(reader, ghost);
}

void streamsExposed(GstElement* demux, gpointer) {
    gst_element_no_more_pads(GST_ELEMENT(GST_OBJECT_PARENT(demux)));
}

} // namespace

GstElement* makeAsfReader(const char* name) {
    GstElement* file = gst_element_factory_make("filesrc", kFileName);
    GstElement* demux = gst_element_factory_make("asfdemux", "Splitter");
    if (!file || !demux) {
        for (GstElement* e : {file, demux}) {
            if (e) {
                gst_object_unref(gst_object_ref_sink(e));
            }
        }
        return nullptr;
    }
    GstElement* reader = gst_bin_new(name);
    gst_bin_add_many(GST_BIN(reader), file, demux, nullptr);
    gst_element_link(file, demux);
    g_signal_connect(demux, "pad-added", G_CALLBACK(exposeStream), nullptr);
    g_signal_connect(demux, "no-more-pads", G_CALLBACK(streamsExposed), nullptr);
    return reader;
}

void loadAsfReader(GstElement* reader, const std::string& path) {
    GstElement* file = gst_bin_get_by_name(GST_BIN(reader), kFileName);
    g_object_set(file, "location", path.c_str(), nullptr);
    gst_object_unref(file);
}

} // namespace clipdeck
