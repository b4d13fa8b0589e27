// FrontEndRun: the worker thread of a migration or a dump, the ending each leaves for the
// window's thread, and the stop and close requests in between.
#include "frontend/front_end_run.h"

#include <exception>
#include <utility>

#include "driver/escaped_error.h"
#include "dump/dump_orderforms.h"

namespace mv {

FrontEndRun::FrontEndRun(std::function<void()> workDone) : onWorkDone_(std::move(workDone)) {}

FrontEndRun::~FrontEndRun() {
  if (!worker_.joinable()) return;
  RequestStop();
  worker_.join();
}

void FrontEndRun::StartMigration(ConverterFactory factory, MessageDisplay& messages,
                                 const MigrationCaptions& captions, const ConnectionValues& values,
                                 const MigrationSelection& selection,
                                 const std::string& sLogFileName) {
  progress_ = std::make_unique<LatestProgress>();
  Start([this, factory = std::move(factory), messages = &messages, captions, values, selection,
         sLogFileName] {
    GlobalConvert convert(factory, *messages, LocalNow, *progress_);
    migrationEnding_ = RunMigrations(convert, values, selection, sLogFileName, captions);
  });
}

void FrontEndRun::StartDump(const ConnectionValues& values, const std::string& dumpFileName) {
  Start([this, values, dumpFileName] {
    try {
      dumpMessage_ = DumpCompletedMessage(DumpOrderforms().Dump(
          values.SDBServer, values.SUser, values.SPassword, values.SDB, dumpFileName));
    } catch (const std::exception& error) {
      dumpMessage_ = DescriptionOf(error);
    }
  });
}

void FrontEndRun::Start(std::function<void()> work) {
  running_ = true;
  workDone_ = false;
  worker_ = std::thread([this, work = std::move(work)] {
    work();
    workDone_ = true;
    onWorkDone_();
  });
}

std::optional<std::string> FrontEndRun::ProgressText() const {
  return progress_ ? progress_->Text() : std::nullopt;
}

void FrontEndRun::RequestStop() {
  if (progress_) progress_->RequestStop();
}

bool FrontEndRun::MayClose(const std::function<bool()>& askToStop) {
  if (!running_) return true;
  // Only a migration can stop, and it is asked once; a dump runs to its end.
  if (!progress_ || progress_->StopRequested()) return false;
  if (!askToStop()) return false;
  if (!running_) return true;  // the run ended while the question was up
  RequestStop();
  closeWhenEnded_ = true;
  return false;
}

bool FrontEndRun::Finish(ResultTextView& resultText, MessageDisplay& messages) {
  worker_.join();
  running_ = false;
  progress_.reset();
  if (const std::optional<MigrationEnding> ending = std::exchange(migrationEnding_, std::nullopt)) {
    ShowMigrationEnding(*ending, resultText, messages);
  } else if (const std::optional<std::string> message = std::exchange(dumpMessage_, std::nullopt)) {
    messages.ShowMessage(*message);
  }
  return std::exchange(closeWhenEnded_, false);
}

}  // namespace mv
