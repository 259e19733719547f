#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/AddressLines.h"
#include "cli/ListQueryView.h"
#include "cli/ListTotal.h"

class LanguageTable;
class ProgressLine;

// Asks a list of addresses side by side and prints a line for each on standard output,
// in the order they were given, as soon as it and all before it are answered.
//
// Each address is one ordinary size query on one of at most `parallel` worker threads,
// so every rule of a single query (request, verdicts, timeouts, deadline, proxy, https,
// receive window) holds for each. An address holds its slot from the moment it is
// given until its line is printed, so the addresses waiting to be asked and the answers
// waiting for an earlier slow one are never more than `parallel`, however long the list.
class SizeQueryBatch {
 public:
  struct Format {
    bool json = false;
    bool human = false;  // sizes in binary units
    bool total = false;  // a last line with the sum
  };

  SizeQueryBatch(unsigned parallel, Format format, const LanguageTable& texts, ListQueryView::Choices choices,
                 ProgressLine& progress);
  ~SizeQueryBatch();
  SizeQueryBatch(const SizeQueryBatch&) = delete;
  SizeQueryBatch& operator=(const SizeQueryBatch&) = delete;

  // Gives the next address; waits while `parallel` given ones are not yet printed.
  void Add(AddressLines::Line line);
  // Waits until every given address is printed, then prints the total if asked for.
  // True when every address got a size.
  bool Finish();
  // For the end of the process from another thread: takes the output (so that no line is
  // cut and none follows; 50 ms at most), then cancels every transfer. Never gives it back.
  void Interrupt();

 private:
  struct Job {
    std::uint64_t number;
    AddressLines::Line line;
  };
  struct Answer {
    std::string address;
    SizeQueryReport report;
  };

  void StartWorker();
  void Work(ListQueryView& view);
  SizeQueryReport Ask(ListQueryView& view, const AddressLines::Line& line) const;
  void PrintReadyLines();
  void WriteLine(const std::string& line);
  void ShowProgress();

  const unsigned m_parallel;
  const Format m_format;
  const LanguageTable& m_texts;
  const ListQueryView::Choices m_choices;
  ProgressLine& m_progress;

  std::mutex m_lock;
  std::condition_variable m_jobsChanged;  // workers wait for a job or the end
  std::condition_variable m_linePrinted;  // Add waits for a slot, Finish for the last line
  std::deque<Job> m_jobs;
  std::map<std::uint64_t, Answer> m_answered;  // answered, waiting for an earlier one
  std::uint64_t m_given = 0;
  std::uint64_t m_printed = 0;
  std::uint64_t m_asked = 0;
  std::uint64_t m_withoutSize = 0;
  unsigned m_idleWorkers = 0;
  bool m_ending = false;
  // One view a worker, made under the lock and published through the count, so that the
  // stop thread can cancel them without the lock.
  std::unique_ptr<std::unique_ptr<ListQueryView>[]> m_views;
  std::atomic<unsigned> m_viewCount{0};
  std::vector<std::thread> m_workers;
  ListTotal m_total;
};
