// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a batch file into the input table. A large file is split into
// pieces of whole lines that are decoded and parsed on every core, each into
// a table of its own, and joined in file order: the rows and the problem
// list are those of one pass from the first line to the last.
#include "batch/core/u_batchcore.h"

#include "batch/core/u_batchdialect.h"
#include "batch/core/u_batchmessages.h"
#include "batch/core/u_pieces.h"

#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace zevra {

namespace {

// Bytes per piece of a large file (about 4,000 lines of a usual batch file).
constexpr std::size_t kBytesPerPiece = 384 * 1024;

// Whole lines of the file body, not yet decoded.
struct TLinePiece {
    std::string_view Bytes;
    std::size_t FirstLine = 1;  // its number in the file
    std::size_t Lines = 0;
    bool Quoted = false;  // whether a quote appears in it
};

// The body in pieces of whole lines, each ending at a line feed. A record is
// one line (a quoted value closes on its own line), so any line feed will do.
// The pieces know their lines only once they are counted.
std::vector<TLinePiece> SplitIntoPieces(std::string_view body) {
    std::vector<TLinePiece> pieces;
    for (std::size_t start = 0; start < body.size();) {
        std::size_t end = body.size();
        if (body.size() - start > kBytesPerPiece) {
            const std::size_t feed = body.find('\n', start + kBytesPerPiece);
            if (feed != std::string_view::npos) end = feed + 1;
        }
        TLinePiece piece;
        piece.Bytes = body.substr(start, end - start);
        pieces.push_back(piece);
        start = end;
    }
    return pieces;
}

// The next ";" from `from` on, or npos. The values are short: eight bytes
// are looked at a time, which beats both a plain scan and a search per value.
std::size_t NextSemicolon(std::string_view line, std::size_t from) {
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        for (; i + 8 <= line.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, line.data() + i, sizeof word);
            const std::uint64_t x = word ^ (kOnes * ';');
            // The lowest set bit marks the first byte that was ";".
            const std::uint64_t found = (x - kOnes) & ~x & (kOnes * 0x80);
            if (found != 0) return i + static_cast<std::size_t>(std::countr_zero(found) / 8);
        }
    }
    for (; i < line.size(); ++i) {
        if (line[i] == ';') return i;
    }
    return std::string_view::npos;
}

// What a look at a piece tells before it is parsed.
struct TPieceSurvey {
    std::size_t Lines = 0;
    bool Quoted = false;
    TUtf8Evidence Evidence;
};

// The number of the line where the first record begins (the first line that
// is neither blank nor a comment), or 0. Only that record may be a header.
// The body is not decoded yet: a UTF-8 mark is a mark only in a UTF-8 body.
std::size_t FirstRecordLine(std::string_view body, TFileEncoding encoding) {
    std::size_t number = 0;
    for (TLineCursor cursor(body); !cursor.AtEnd();) {
        const std::string_view line =
            encoding == TFileEncoding::Cp1250 ? cursor.Next() : WithoutUtf8Mark(cursor.Next());
        ++number;
        if (!IsBlank(line) && line.front() != '#') return number;
    }
    return 0;
}

// The longest line read, in characters: far beyond any batch line, and a
// bound on what one line may cost before anything is split.
constexpr std::size_t kMaxLineChars = 64 * 1024;

bool TooLong(std::string_view line) { return line.size() > kMaxLineChars && Utf8Length(line) > kMaxLineChars; }

// Parses batch lines into the rows of one table.
class TRowParser {
public:
    TRowParser(TMemTable& table, const std::vector<TZevraKraj>& kraje) : FTable(table), FKraje(kraje) {
        for (std::size_t position = 0; position < kBatchColumnCount; ++position) {
            const TFieldDef& field = table.Fields()[kFileColumnFields[position]];
            FKind[position] = field.Type == TFieldType::ftInteger ? TKind::WholeNumber
                              : field.Type == TFieldType::ftFloat ? TKind::Decimal
                              : field.Shared                      ? TKind::Shared
                                                                  : TKind::Other;
        }
    }

    // One line to one row (none for a comment line); the row stays when the
    // line has a problem, which then throws. `mayQuote` false says that the
    // line holds no quote.
    void ParseLine(std::string_view line, bool mayQuote = true) {
        if (!line.empty() && line.front() == '#') return;
        const std::size_t row = FTable.AppendRow();
        FTable.SetInt(row, ifKRAJ_ID, -1);
        if (TooLong(line)) {
            throw EZevraError(FormatMessage("Příliš dlouhý řádek (více než %d znaků)!",
                                            {FormatInt(static_cast<long long>(kMaxLineChars))}));
        }

        std::size_t columns = 0;
        if (!mayQuote || line.find('"') == std::string_view::npos) {
            // Without a quote no value is quoted: the values are the pieces
            // between ";" as they stand (as SplitBatchRecord would give
            // them), taken in place without a list of copies.
            std::size_t start = 0;
            for (std::size_t i = NextSemicolon(line, 0); i != std::string_view::npos; i = NextSemicolon(line, i + 1)) {
                SetValue(row, columns++, line.substr(start, i - start));
                start = i + 1;
            }
            if (start < line.size()) SetValue(row, columns++, line.substr(start));
        } else {
            bool open = false;
            const std::vector<std::string> values = SplitBatchRecord(line, &open);
            columns = values.size();
            for (std::size_t position = 0; position < columns; ++position) SetValue(row, position, values[position]);
            // The row keeps the values before the open quote, as it keeps
            // those before a value that does not convert.
            if (open) {
                throw EZevraError(FormatMessage("Neukončené uvozovky v %d. údaji!",
                                                {FormatInt(static_cast<long long>(columns + 1))}));
            }
        }

        LookUpRegion(row);
        if (columns != kBatchColumnCount) {
            throw EZevraError(FormatMessage("Chybný počet údajů na řádku (%d místo %d)!",
                                            {FormatInt(static_cast<long long>(columns)),
                                             FormatInt(static_cast<long long>(kBatchColumnCount))}));
        }
    }

    // One trimmed value into the current row; positions from 16 on and blank
    // values change nothing.
    void SetField(std::size_t position, std::string_view value) {
        if (position >= kBatchColumnCount || IsBlank(value)) return;
        const std::size_t row = FTable.CurrentRow();
        if (row == TMemTable::npos) throw EZevraError("Vstupní tabulka nemá aktuální řádek!");
        StoreValue(row, position, value);
    }

private:
    enum class TKind : unsigned char { WholeNumber, Decimal, Shared, Other };

    // A value as SplitBatchRecord finds it, into the row being parsed. The
    // number columns take the forms of a Czech spreadsheet too (digits
    // grouped in threes, a decimal comma in the decimal columns); a value
    // that does not convert is named in the message as it was written.
    void SetValue(std::size_t row, std::size_t position, std::string_view raw) {
        const std::string_view value = TrimView(raw);
        if (position >= kBatchColumnCount || value.empty()) return;
        const std::size_t field = kFileColumnFields[position];
        switch (FKind[position]) {
            case TKind::WholeNumber: {
                std::int32_t number = 0;
                if (ShortWholeNumber(value, number) || TryParseInteger(Plain(value, false), number))
                    return FTable.SetInt(row, field, number);
                break;
            }
            case TKind::Decimal: {
                double number = 0;
                if (TryParseNumber(Plain(value, true), number)) return FTable.SetFloat(row, field, number);
                break;
            }
            case TKind::Shared: return FTable.SetSharedText(row, field, SharedRef(position, value));
            case TKind::Other: return FTable.SetText(row, field, value);
        }
        throw EZevraError(ConversionMessage(FTable.Fields()[field], value));
    }

    // A number value in the program's form: as it stands unless it holds
    // what a spreadsheet adds (a blank, a no-break space, a comma).
    std::string_view Plain(std::string_view value, bool decimalComma) {
        if (value.find_first_of(" ,\xC2\xE2") == std::string_view::npos) return value;
        FPlain = SpreadsheetNumber(value, decimalComma);
        return FPlain;
    }

    // Stores a non-blank value as SetText would. Nearly every value is a
    // short whole number or one of a few repeated texts: those skip the
    // general conversion and the search of the column's texts.
    void StoreValue(std::size_t row, std::size_t position, std::string_view value) {
        const std::size_t field = kFileColumnFields[position];
        switch (FKind[position]) {
            case TKind::WholeNumber: {
                std::int32_t number = 0;
                if (ShortWholeNumber(value, number)) return FTable.SetInt(row, field, number);
                break;
            }
            case TKind::Shared: return FTable.SetSharedText(row, field, SharedRef(position, value));
            case TKind::Decimal:
            case TKind::Other: break;
        }
        FTable.SetText(row, field, value);
    }

    // One to nine digits, without a sign: always a valid 32-bit value.
    static bool ShortWholeNumber(std::string_view value, std::int32_t& number) {
        if (value.size() > 9) return false;
        std::int32_t result = 0;
        for (const char c : value) {
            if (c < '0' || c > '9') return false;
            result = result * 10 + (c - '0');
        }
        number = result;
        return true;
    }

    // The place of a shared column's text, the last few of each column
    // remembered (a file names the same few regions over and over).
    std::uint32_t SharedRef(std::size_t position, std::string_view value) {
        std::vector<std::pair<std::string, std::uint32_t>>& recent = FRecent[position];
        for (const auto& [text, ref] : recent) {
            if (text == value) return ref;
        }
        const std::uint32_t ref = FTable.SharedTextRef(kFileColumnFields[position], value);
        constexpr std::size_t kRemembered = 16;
        if (recent.size() < kRemembered) recent.emplace_back(value, ref);
        return ref;
    }

    void LookUpRegion(std::size_t row) {
        // Each distinct stored region text is looked up in the model's list
        // once; the texts are known by their places.
        const std::size_t ref = FTable.SharedRefOf(row, ifKRAJ);
        std::int32_t& id = ref == TMemTable::npos ? FBlankRegion : RegionOfRef(ref);
        if (id == kUnknown) {
            const std::string_view name = FTable.TextView(row, ifKRAJ);
            id = -1;
            for (const TZevraKraj& kraj : FKraje) {
                if (SameAsciiCaseless(kraj.Nazev, name)) {
                    id = kraj.Region;
                    break;
                }
            }
        }
        if (id >= 0) FTable.SetInt(row, ifKRAJ_ID, id);
    }

    std::int32_t& RegionOfRef(std::size_t ref) {
        if (ref >= FRegionOfRef.size()) FRegionOfRef.resize(ref + 1, kUnknown);
        return FRegionOfRef[ref];
    }

    static constexpr std::int32_t kUnknown = -2;

    TMemTable& FTable;
    const std::vector<TZevraKraj>& FKraje;
    TKind FKind[kBatchColumnCount] = {};
    std::vector<std::pair<std::string, std::uint32_t>> FRecent[kBatchColumnCount];
    // The region numbers (-1: none) of the region texts by their places, and
    // of a blank region.
    std::vector<std::int32_t> FRegionOfRef;
    std::int32_t FBlankRegion = kUnknown;
    std::string FPlain;  // the last number put into the program's form
};

// The rows and the problems of one piece of a file.
struct TParsedPiece {
    std::optional<TMemTable> Rows;
    std::vector<std::pair<std::size_t, std::string>> Problems;  // line number, message
};

// Parses the decoded lines of one piece, each line one row (none for a
// comment). The line `headerLine` is skipped when it holds the column names,
// as a spreadsheet writes them.
void ParsePiece(const TLinePiece& piece, std::string_view text, std::size_t headerLine, TRowParser& parser,
                TParsedPiece& result) {
    TLineCursor cursor(text);
    for (std::size_t lineNumber = piece.FirstLine; !cursor.AtEnd(); ++lineNumber) {
        // Two files joined leave the second one's mark at the start of a
        // line: it goes there as it goes at the start of the file.
        const std::string_view line = WithoutUtf8Mark(cursor.Next());
        if (IsBlank(line)) continue;
        if (lineNumber == headerLine && !TooLong(line)) {
            bool open = false;
            const std::vector<std::string> values = SplitBatchRecord(line, &open);
            if (!open && IsBatchHeaderRecord(values)) continue;
        }
        try {
            parser.ParseLine(line, piece.Quoted);
        } catch (const std::exception& e) {
            result.Problems.emplace_back(lineNumber, e.what());
        }
    }
}

}  // namespace

void TZevraBatch::LoadInputFile(const std::string& fileName, const TBatchProgress& progress) {
    if (IsBlank(fileName)) throw EZevraError(kNoInputFileMessage);
    LoadInputBytes(ReadFileBytes(FileNameOf(fileName)), progress);
}

void TZevraBatch::LoadInputBytes(std::string_view bytes, const TBatchProgress& progress) {
    std::optional<TFileEncoding> marked;
    std::string decoded;
    const std::string_view body = MarkedFileBody(bytes, marked, decoded);
    std::vector<TLinePiece> pieces = SplitIntoPieces(body);
    // The lines are counted and the bytes weighed for UTF-8 on every core;
    // both add up over the pieces to what one look at the body gives.
    std::size_t lineCount = 0;
    TUtf8Evidence evidence;
    ForEachPieceInOrder<TPieceSurvey>(
        pieces.size(),
        [&](std::size_t k, TPieceSurvey& survey) {
            for (TLineCursor cursor(pieces[k].Bytes); !cursor.AtEnd(); cursor.Next()) ++survey.Lines;
            survey.Quoted = pieces[k].Bytes.find('"') != std::string_view::npos;
            if (!marked) survey.Evidence.Add(pieces[k].Bytes);
        },
        [&](std::size_t k, TPieceSurvey& survey) {
            pieces[k].FirstLine = lineCount + 1;
            pieces[k].Lines = survey.Lines;
            pieces[k].Quoted = survey.Quoted;
            lineCount += survey.Lines;
            evidence.Add(survey.Evidence);
        });
    const TFileEncoding encoding = marked ? *marked : evidence.Encoding();
    const std::size_t headerLine = FirstRecordLine(body, encoding);

    // The rows are replaced, so the verdict of the last validation no longer
    // applies: until the new rows are validated the run stays refused.
    FInputValid = false;
    FInputData.Clear();
    FInputData.Reserve(lineCount);
    std::unique_ptr<ECompositeException> problems;
    ForEachPieceInOrder<TParsedPiece>(
        pieces.size(),
        [&](std::size_t k, TParsedPiece& result) {
            const TLinePiece& piece = pieces[k];
            const std::string text = DecodeFileBody(piece.Bytes, encoding);
            result.Rows.emplace(InputTableFields());
            result.Rows->Reserve(piece.Lines);
            TRowParser parser(*result.Rows, FModel.Kraje());
            ParsePiece(piece, text, headerLine, parser, result);
        },
        [&](std::size_t k, TParsedPiece& result) {
            FInputData.AppendRows(std::move(*result.Rows));
            for (auto& [line, message] : result.Problems) {
                EnsureComposite(problems);
                problems->Add(FormatMessage("Řádek %d", {FormatInt(static_cast<long long>(line))}),
                              std::make_unique<EZevraError>(message));
            }
            ReportProgress(progress, pieces[k].FirstLine - 1 + pieces[k].Lines, lineCount);
        });
    FInputData.SetCurrentRow(FInputData.IsEmpty() ? TMemTable::npos : 0);
    FInputData.Refresh();
    if (problems) throw std::move(*problems);
}

void TZevraBatch::ParseInputLine(std::string_view line) { TRowParser(FInputData, FModel.Kraje()).ParseLine(line); }

void TZevraBatch::SetInputField(std::size_t position, std::string_view value) {
    TRowParser(FInputData, FModel.Kraje()).SetField(position, value);
}

}  // namespace zevra
