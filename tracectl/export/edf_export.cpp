#include "edf_export.h"

#include "edf_signals.h"
#include "montages.h"
#include "page_length.h"
#include "page_loading.h"
#include "recording_queries.h"
#include "stretches.h"
#include "text.h"

#include "ascii_text.h"

#include <edflib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace viewer::edf {

namespace {

namespace fs = std::filesystem;
using Outcome = ExportResult::Outcome;

constexpr int kMaxAnnotationSignals = 64;
// EDF+ start dates are stored with two-digit years, read as 1985..2084.
constexpr int kFirstEdfYear = 1985;
constexpr int kLastEdfYear = 2084;

struct RecordLayout {
    int framesPerRecord = 0;
    int duration10us = 0; // data record duration in units of 10 microseconds
};

// Data records of one second when a second of all channels fits the page buffer, else the
// longest fraction of a second that does, holds whole frames and has a duration edflib can
// state in its 10-microsecond units.
std::optional<RecordLayout> recordLayout(const Recording& rec) {
    const int rate = rec.header.rate;
    const int64_t fit = framesThatFit(rec);
    for (int k = 1; k <= rate; ++k) {
        if (rate % k == 0 && 100000 % k == 0 && rate / k <= fit) {
            return RecordLayout{rate / k, 100000 / k};
        }
    }
    return std::nullopt;
}

SampleFormat formatOf(const Recording& rec, ExportRequest::Format asked) {
    if (asked == ExportRequest::Format::AsSamples) {
        return rec.header.bytesPerSample == 4 ? SampleFormat::Bdf24 : SampleFormat::Edf16;
    }
    return asked == ExportRequest::Format::Bdf ? SampleFormat::Bdf24 : SampleFormat::Edf16;
}

// Why EDF+ cannot hold the recorded channels' samples whole, or nothing when it can.
std::string tooWideForEdf(const Recording& rec) {
    for (int c = 0; c < rec.header.numChannels; ++c) {
        const uint16_t code = rec.orderTable[static_cast<size_t>(c)];
        const ElectrodeRecord e = code < kElectrodeCount ? rec.electrodes[code] : ElectrodeRecord{};
        if (planSignal(e, code, SampleFormat::Edf16).shift > 0) {
            return "the samples of channel " + std::to_string(c + 1) +
                   " span more values than the 16 bits of EDF+ hold; a .bdf file (BDF+, 24 "
                   "bits) keeps them";
        }
    }
    return {};
}

std::vector<std::string> fileNames(const std::string& output, SampleFormat format, size_t count) {
    fs::path base(output);
    const char* ext = format == SampleFormat::Bdf24 ? ".bdf" : ".edf";
    std::error_code ec;
    if (count == 1 && fs::exists(base, ec) && !fs::is_regular_file(base, ec)) {
        return {output}; // a device such as /dev/null is written as named
    }
    if (count == 1) {
        return {base.replace_extension(ext).string()};
    }
    std::vector<std::string> names;
    const fs::path stem = base.parent_path() / base.stem();
    for (size_t i = 1; i <= count; ++i) {
        names.push_back(stem.string() + "-" + std::to_string(i) + ext);
    }
    return names;
}

int64_t endFrameOf(const Recording& rec, const ExportRequest& r) {
    return r.endFrame < 0 ? exportableFrames(rec) : r.endFrame;
}

struct Note {
    int64_t frame = 0;
    std::string text;       // UTF-8
    int64_t onsetMs = -1;   // a further annotation: its time to the millisecond
    int64_t durationMs = 0; // and its length
    bool further() const { return onsetMs >= 0; }
};

// edflib keeps the first 40 bytes of an annotation; cutting at a character boundary keeps
// the text valid UTF-8 (accented letters take two bytes).
constexpr size_t kAnnotationBytes = 40;

std::string utf8Prefix(std::string s) {
    if (s.size() > kAnnotationBytes) {
        size_t end = kAnnotationBytes;
        while (end > 0 && (static_cast<uint8_t>(s[end]) & 0xC0) == 0x80) {
            --end;
        }
        s.resize(end);
    }
    return s;
}

// The notes as the display walks them: up to the end record, a negative frame read as 1.
std::vector<Note> recordingNotes(const Recording& rec) {
    std::vector<Note> notes;
    const int count = std::clamp(rec.noteCount, 0, kNoteCapacity);
    for (int i = 0; i < count && rec.notes[i].sample != 0; ++i) {
        const NoteRecord& n = rec.notes[i];
        // The display shows at most 39 characters: it forces a NUL into the last byte.
        const std::string_view text = trimRight(fieldText(n.text.data(), n.text.size() - 1));
        notes.push_back({n.sample < 0 ? 1 : n.sample, utf8Prefix(windows1252ToUtf8(text))});
    }
    return notes;
}

// The further annotations of `request` as notes at the frame their onset falls in.
std::vector<Note> furtherNotes(const ExportRequest& request, uint16_t rate) {
    std::vector<Note> notes;
    for (const ExportRequest::Annotation& a : request.annotations) {
        if (a.onsetMs >= 0 && a.durationMs >= 0 && rate > 0) {
            notes.push_back({a.onsetMs * rate / 1000, utf8Prefix(a.text), a.onsetMs, a.durationMs});
        }
    }
    return notes;
}

struct StartTime {
    int year = kFirstEdfYear, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int subsecond = 0; // 100-nanosecond units, a multiple of 100 microseconds
    bool stored = true;
};

// Date and clock time of the frame `uncut` of the uncut recording.
StartTime startTimeOf(const TrcHeader& h, uint32_t uncut) {
    namespace chr = std::chrono;
    StartTime t;
    const int year = h.recYear + 1900;
    const bool dateValid = queries::isValidDate(year, h.recMonth, h.recDay);
    const bool timeValid = h.recHour <= 23 && h.recMinute <= 59 && h.recSecond <= 59;
    if (!dateValid || !timeValid) {
        t.stored = false;
        return t;
    }
    const chr::sys_days day{chr::year{year} / chr::month{h.recMonth} / chr::day{h.recDay}};
    const int64_t seconds =
        (h.recHour * 3600 + h.recMinute * 60 + h.recSecond) + static_cast<int64_t>(uncut / h.rate);
    const chr::sys_days startDay = day + chr::days{seconds / 86400};
    const chr::year_month_day ymd{startDay};
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(seconds % 86400 / 3600);
    t.minute = static_cast<int>(seconds % 3600 / 60);
    t.second = static_cast<int>(seconds % 60);
    t.subsecond = static_cast<int>(static_cast<int64_t>(uncut % h.rate) * 10000 / h.rate) * 1000;
    if (t.year < kFirstEdfYear || t.year > kLastEdfYear) {
        t = StartTime{};
        t.stored = false;
    }
    return t;
}

void removeFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code ec;
        // Only a regular file is ours to remove (never a device the user named).
        if (fs::is_regular_file(path, ec)) {
            fs::remove(path, ec);
        }
    }
}

// One file being written: its edflib handle, closed (and the file removed unless kept) when
// it goes.
class EdfFile {
public:
    explicit EdfFile(std::string path) : path_(std::move(path)) {}
    ~EdfFile() { finish(false); }
    EdfFile(const EdfFile&) = delete;
    EdfFile& operator=(const EdfFile&) = delete;

    bool open(SampleFormat format, int signalCount) {
        handle_ = edfopen_file_writeonly(path_.c_str(),
                                         format == SampleFormat::Bdf24 ? EDFLIB_FILETYPE_BDFPLUS
                                                                       : EDFLIB_FILETYPE_EDFPLUS,
                                         signalCount);
        // A file edflib could not open is not ours to remove.
        begun_ = handle_ >= 0;
        return begun_;
    }
    int handle() const { return handle_; }
    // Closes the file; keeps it only when `keep` is true and edflib finished it.
    bool finish(bool keep) {
        bool closed = true;
        if (handle_ >= 0) {
            closed = edfclose_file(handle_) == 0;
            handle_ = -1;
        }
        if (begun_ && (!keep || !closed)) {
            removeFiles({path_});
        }
        begun_ = begun_ && !(keep && closed);
        return closed;
    }

private:
    std::string path_;
    int handle_ = -1;
    bool begun_ = false;
};

} // namespace

std::optional<ExportRequest::Format> formatNamed(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".edf") {
        return ExportRequest::Format::Edf;
    }
    if (ext == ".bdf") {
        return ExportRequest::Format::Bdf;
    }
    return std::nullopt;
}

std::vector<std::string> plannedFiles(const Recording& rec, const ExportRequest& request) {
    const auto stretches = continuousStretches(rec, request.firstFrame, endFrameOf(rec, request));
    return stretches.empty()
               ? std::vector<std::string>{}
               : fileNames(request.output, formatOf(rec, request.format), stretches.size());
}

namespace {

class Exporter {
public:
    Exporter(Recording& rec, const ExportRequest& request, RecordLayout layout)
        : rec_(rec), request_(request), layout_(layout), format_(formatOf(rec, request.format)),
          channels_(rec.header.numChannels) {}

    ExportResult run(const std::vector<Stretch>& stretches) {
        result_.bdf = format_ == SampleFormat::Bdf24;
        result_.signalCount = channels_;
        const std::vector<std::string> names =
            fileNames(request_.output, format_, stretches.size());
        if (!request_.overwrite) {
            for (const std::string& name : names) {
                std::error_code ec;
                if (fs::exists(name, ec)) {
                    return failed(name + " exists already; it was not overwritten");
                }
            }
        }
        for (const Stretch& s : stretches) {
            total_ += s.end - s.first;
        }
        std::vector<Note> notes = recordingNotes(rec_);
        result_.notesOutside = static_cast<int>(notes.size());
        const std::vector<Note> further = furtherNotes(request_, rec_.header.rate);
        result_.eventsOutside = static_cast<int>(further.size());
        notes.insert(notes.end(), further.begin(), further.end());
        rec_.pageBuffer.assign(static_cast<size_t>(kPageBufferValues), 0);
        // Each file is finished before the next begins (edflib keeps few files open); when
        // a later one fails, those finished before it go too.
        for (size_t i = 0; i < stretches.size(); ++i) {
            EdfFile file(names[i]);
            const bool written = writeStretch(file, stretches[i], notes, names[i]);
            if (!written || !file.finish(true)) {
                if (written) {
                    failed("the file could not be completed (disk full?)");
                }
                removeFiles({names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i)});
                return result_;
            }
        }
        result_.files = names;
        result_.outcome = Outcome::Written;
        return result_;
    }

private:
    ExportResult& failed(std::string why) {
        result_.outcome = Outcome::Failed;
        result_.error = std::move(why);
        return result_;
    }

    bool writeStretch(EdfFile& file, const Stretch& s, const std::vector<Note>& notes,
                      const std::string& path) {
        if (!file.open(format_, channels_)) {
            failed("cannot create the file (does the folder exist and may it be written?)");
            return false;
        }
        const int64_t records =
            (s.end - s.first + layout_.framesPerRecord - 1) / layout_.framesPerRecord;
        std::vector<const Note*> inside;
        for (const Note& n : notes) {
            if (n.frame >= s.first && n.frame < s.end) {
                inside.push_back(&n);
            }
        }
        if (!writeHeader(file.handle(), s, records, inside.size())) {
            failed("edflib refused the header of the file");
            return false;
        }
        const int64_t rate = rec_.header.rate;
        for (const Note* n : inside) {
            // Onsets in 100 µs from the file's start; a note at its frame, a further
            // annotation at its millisecond.
            const int64_t onset = n->further()
                                      ? (n->onsetMs * 10 * rate - s.first * 10000 + rate / 2) / rate
                                      : ((n->frame - s.first) * 10000 + rate / 2) / rate;
            const int64_t duration = n->further() && n->durationMs > 0 ? n->durationMs * 10 : -1;
            if (edfwrite_annotation_utf8(file.handle(), onset, duration, n->text.c_str()) != 0) {
                failed("edflib refused a note");
                return false;
            }
        }
        // edflib stores one note per annotation signal and data record; a very short file
        // with very many notes cannot hold them all.
        const int64_t room = records * kMaxAnnotationSignals;
        if (static_cast<int64_t>(inside.size()) > room) {
            result_.warnings.push_back(std::to_string(static_cast<int64_t>(inside.size()) - room) +
                                       " notes do not fit the file " + path + " and were left out");
        }
        const auto furtherInside = static_cast<int>(std::count_if(
            inside.begin(), inside.end(), [](const Note* n) { return n->further(); }));
        const auto notesInside = static_cast<int>(inside.size()) - furtherInside;
        // Those left out for want of room are the last ones edflib was given.
        const auto kept = static_cast<int>(std::min<int64_t>(inside.size(), room));
        result_.notes += std::min(notesInside, kept);
        result_.events += std::max(kept - notesInside, 0);
        result_.notesOutside -= notesInside;
        result_.eventsOutside -= furtherInside;
        return writeSamples(file.handle(), s);
    }

    bool writeHeader(int handle, const Stretch& s, int64_t records, size_t notes) {
        const TrcHeader& h = rec_.header;
        const int history =
            rec_.historyPresent ? historyMontageFor(rec_, static_cast<uint32_t>(s.first)) : -1;
        rec_.currentMontage = MontageRecord{};
        if (history >= 0 && history < kHistoryMontagesUsed) {
            rec_.historyIndex = history;
            if (!LoadHistoryMontage(rec_)) {
                rec_.currentMontage = MontageRecord{};
            }
        }
        const MontageRecord montage = rec_.currentMontage;
        rec_.currentMontage.refMode = 0; // the raw recorded values, never re-referenced
        plans_.clear();
        pads_.clear();
        bool ok = true;
        for (int c = 0; c < channels_; ++c) {
            const uint16_t code = rec_.orderTable[c];
            const ElectrodeRecord e =
                code < kElectrodeCount ? rec_.electrodes[code] : ElectrodeRecord{};
            SignalPlan p = planSignal(e, code, format_);
            p.prefilter = prefilterText(montage, code, h.rate);
            ok = ok && edf_set_samplefrequency(handle, c, layout_.framesPerRecord) == 0 &&
                 edf_set_physical_maximum(handle, c, p.physicalMax) == 0 &&
                 edf_set_physical_minimum(handle, c, p.physicalMin) == 0 &&
                 edf_set_digital_maximum(handle, c, p.digitalMax) == 0 &&
                 edf_set_digital_minimum(handle, c, p.digitalMin) == 0 &&
                 edf_set_label(handle, c, p.label.c_str()) == 0 &&
                 edf_set_physical_dimension(handle, c, p.dimension.c_str()) == 0 &&
                 edf_set_prefilter(handle, c, p.prefilter.c_str()) == 0;
            pads_.push_back(p.digital(e.logicGround));
            plans_.push_back(std::move(p));
        }
        const int annotationSignals = static_cast<int>(std::clamp<int64_t>(
            (static_cast<int64_t>(notes) + records - 1) / std::max<int64_t>(records, 1), 1,
            kMaxAnnotationSignals));
        ok = ok && edf_set_number_of_annotation_signals(handle, annotationSignals) == 0;
        if (layout_.duration10us != 100000) {
            ok = ok && edf_set_datarecord_duration(handle, layout_.duration10us) == 0;
        }
        return ok && writePatient(handle) && writeStart(handle, s);
    }

    bool writePatient(int handle) {
        const TrcHeader& h = rec_.header;
        const std::string surname =
            asciiFromWindows1252(trimRight(fieldText(h.surname.data(), 21)));
        const std::string name = asciiFromWindows1252(trimRight(fieldText(h.name.data(), 19)));
        std::string patient = surname;
        if (!name.empty()) {
            patient += (patient.empty() ? "" : ", ") + name;
        }
        bool ok = patient.empty() || edf_set_patientname(handle, patient.c_str()) == 0;
        const int year = h.birthYear + 1900;
        if (queries::isValidDate(year, h.birthMonth, h.birthDay)) {
            ok = ok && edf_set_birthdate(handle, year, h.birthMonth, h.birthDay) == 0;
        }
        return ok && edf_set_equipment(handle, "Viewer EEG trace file") == 0;
    }

    bool writeStart(int handle, const Stretch& s) {
        const StartTime t = startTimeOf(rec_.header, s.uncutFirst);
        if (!t.stored && !warnedStart_) {
            result_.warnings.push_back(
                "the recording's start date cannot be stored in EDF+; 1 January 1985 was "
                "written instead");
            warnedStart_ = true;
        }
        return edf_set_startdatetime(handle, t.year, t.month, t.day, t.hour, t.minute, t.second) ==
                   0 &&
               edf_set_subsecond_starttime(handle, t.subsecond) == 0;
    }

    bool writeSamples(int handle, const Stretch& s);
    void fillRecord(const int32_t* frames, int available);

    Recording& rec_;
    const ExportRequest& request_;
    RecordLayout layout_;
    SampleFormat format_;
    int channels_;
    std::vector<SignalPlan> plans_;
    std::vector<int32_t> pads_;
    std::vector<int16_t> block16_;
    std::vector<uint8_t> block24_;
    int64_t total_ = 0;
    bool warnedStart_ = false;
    ExportResult result_;
};

// Turns `available` frames (the rest of the record is padding) into one data record: each
// signal's samples one after the other, as edflib's block writes take them.
void Exporter::fillRecord(const int32_t* frames, int available) {
    const int n = layout_.framesPerRecord;
    for (int c = 0; c < channels_; ++c) {
        const SignalPlan& p = plans_[c];
        const int32_t* in = frames + c;
        if (format_ == SampleFormat::Edf16) {
            int16_t* out = block16_.data() + static_cast<size_t>(c) * n;
            for (int f = 0; f < available; ++f) {
                out[f] = static_cast<int16_t>(p.digital(in[static_cast<size_t>(f) * channels_]));
            }
            std::fill(out + available, out + n, static_cast<int16_t>(pads_[c]));
            continue;
        }
        uint8_t* out = block24_.data() + static_cast<size_t>(c) * n * 3;
        for (int f = 0; f < n; ++f) {
            const int32_t d =
                f < available ? p.digital(in[static_cast<size_t>(f) * channels_]) : pads_[c];
            out[3 * f] = static_cast<uint8_t>(d);
            out[3 * f + 1] = static_cast<uint8_t>(d >> 8);
            out[3 * f + 2] = static_cast<uint8_t>(d >> 16);
        }
    }
}

bool Exporter::writeSamples(int handle, const Stretch& s) {
    const int n = layout_.framesPerRecord;
    const size_t recordSamples = static_cast<size_t>(n) * channels_;
    if (format_ == SampleFormat::Edf16) {
        block16_.assign(recordSamples, 0);
    } else {
        block24_.assign(recordSamples * 3, 0);
    }
    // Whole records per read, as many as the page buffer holds.
    const int64_t chunk = static_cast<int64_t>(framesThatFit(rec_)) / n * n;
    for (int64_t at = s.first; at < s.end; at += chunk) {
        const auto count = static_cast<uint32_t>(std::min(chunk, s.end - at));
        LoadPage(rec_, static_cast<uint32_t>(at), count);
        for (uint32_t r = 0; r < count; r += static_cast<uint32_t>(n)) {
            const int available = static_cast<int>(std::min<uint32_t>(n, count - r));
            fillRecord(rec_.pageBuffer.data() + static_cast<size_t>(r) * channels_, available);
            const int written = format_ == SampleFormat::Edf16
                                    ? edf_blockwrite_digital_short_samples(handle, block16_.data())
                                    : edf_blockwrite_digital_3byte_samples(handle, block24_.data());
            if (written != 0) {
                failed("writing the samples failed (disk full?)");
                return false;
            }
        }
        result_.frames += count;
        if (request_.progress && !request_.progress(result_.frames, total_)) {
            result_.outcome = Outcome::Cancelled;
            result_.error = "cancelled";
            return false;
        }
    }
    return true;
}

} // namespace

ExportResult exportRecording(Recording& rec, const ExportRequest& request) {
    ExportResult result;
    if (!rec.isOpen()) {
        result.error = "no recording is open";
        return result;
    }
    const std::vector<Stretch> stretches =
        continuousStretches(rec, request.firstFrame, endFrameOf(rec, request));
    if (stretches.empty()) {
        result.error = "there are no samples to export in the chosen time";
        return result;
    }
    if (rec.header.numChannels > EDFLIB_MAXSIGNALS) {
        result.error = "the recording has more channels than EDF+ files can hold";
        return result;
    }
    if (formatOf(rec, request.format) == SampleFormat::Edf16) {
        result.error = tooWideForEdf(rec);
        if (!result.error.empty()) {
            return result;
        }
    }
    const std::optional<RecordLayout> layout = recordLayout(rec);
    if (!layout) {
        result.error = "the sampling rate cannot be divided into EDF+ data records";
        return result;
    }
    return Exporter(rec, request, *layout).run(stretches);
}

std::string summaryLine(const ExportResult& r, uint16_t rate) {
    std::string files;
    for (const std::string& f : r.files) {
        files += (files.empty() ? "" : ", ") + f;
    }
    char text[256];
    std::snprintf(text, sizeof text, "%s, %d signals, %.1f s, %d notes%s", r.bdf ? "BDF+" : "EDF+",
                  r.signalCount, rate > 0 ? static_cast<double>(r.frames) / rate : 0.0, r.notes,
                  r.notesOutside > 0 ? " (notes outside the exported time left out)" : "");
    std::string events;
    if (r.events > 0 || r.eventsOutside > 0) {
        events = ", " + std::to_string(r.events) + " events" +
                 (r.eventsOutside > 0 ? " (events outside the exported time left out)" : "");
    }
    return "Wrote " + files + " (" + text + events + ")";
}

} // namespace viewer::edf
