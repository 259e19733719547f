#include "cli/SizeQueryBatch.h"

#include <cstdio>

#include "cli/ListLineFormat.h"
#include "cli/ProgressLine.h"
#include "query/SizeQueryMessages.h"

SizeQueryBatch::SizeQueryBatch(unsigned parallel, Format format, const LanguageTable& texts,
                               ListQueryView::Choices choices, ProgressLine& progress)
    : m_parallel(parallel),
      m_format(format),
      m_texts(texts),
      m_choices(choices),
      m_progress(progress),
      m_views(std::make_unique<std::unique_ptr<ListQueryView>[]>(parallel)) {}

SizeQueryBatch::~SizeQueryBatch() {
  {
    std::lock_guard lock(m_lock);
    m_ending = true;
  }
  m_jobsChanged.notify_all();
  for (auto& worker : m_workers)
    if (worker.joinable()) worker.join();
}

void SizeQueryBatch::Add(AddressLines::Line line) {
  std::unique_lock lock(m_lock);
  m_linePrinted.wait(lock, [this] { return m_given - m_printed < m_parallel; });
  m_jobs.push_back({m_given++, std::move(line)});
  // A new worker only when no idle one is left for the job, up to `parallel` of them.
  if (m_jobs.size() > m_idleWorkers && m_workers.size() < m_parallel)
    StartWorker();
  else
    m_jobsChanged.notify_one();
  ShowProgress();
}

bool SizeQueryBatch::Finish() {
  std::unique_lock lock(m_lock);
  m_linePrinted.wait(lock, [this] { return m_printed == m_given; });
  if (m_format.total) WriteLine(m_format.json ? m_total.JsonLine() : m_total.TsvLine(m_format.human));
  m_progress.Hide();
  return m_total.AllHaveSizes();
}

void SizeQueryBatch::Interrupt() {
  // The output is taken first, so that no line is cut and none follows; but a line being
  // written to an output that does not drain must not hold the end up: 50 ms at most.
  bool locked = false;
  for (int tries = 0; tries < 50 && !(locked = m_lock.try_lock()); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  for (unsigned i = 0, made = m_viewCount.load(std::memory_order_acquire); i < made; ++i) m_views[i]->CancelQuery();
  if (locked) m_progress.Hide();
}

void SizeQueryBatch::StartWorker() {
  const unsigned index = m_viewCount.load(std::memory_order_relaxed);
  m_views[index] = std::make_unique<ListQueryView>(m_texts, m_choices);
  m_viewCount.store(index + 1, std::memory_order_release);
  m_workers.emplace_back([this, view = m_views[index].get()] { Work(*view); });
}

void SizeQueryBatch::Work(ListQueryView& view) {
  std::unique_lock lock(m_lock);
  while (true) {
    ++m_idleWorkers;
    m_jobsChanged.wait(lock, [this] { return !m_jobs.empty() || m_ending; });
    --m_idleWorkers;
    if (m_jobs.empty()) return;
    Job job = std::move(m_jobs.front());
    m_jobs.pop_front();
    lock.unlock();
    SizeQueryReport report = Ask(view, job.line);
    lock.lock();
    ++m_asked;
    if (!report.size) ++m_withoutSize;
    m_answered.emplace(job.number, Answer{std::move(job.line.address), std::move(report)});
    PrintReadyLines();
    ShowProgress();
  }
}

SizeQueryReport SizeQueryBatch::Ask(ListQueryView& view, const AddressLines::Line& line) const {
  if (!line.overlong) return view.Ask(line.address);
  // Too long to be taken for an address: the verdict of one that cannot be parsed.
  SizeQueryReport report;
  report.outcome = SizeQueryOutcome::BadAddress;
  report.verdict = SizeQueryMessages::kBadAddress;
  report.verdictText = SizeQueryMessages::Text(m_texts, SizeQueryMessages::kBadAddress);
  return report;
}

void SizeQueryBatch::PrintReadyLines() {
  for (auto next = m_answered.find(m_printed); next != m_answered.end(); next = m_answered.find(m_printed)) {
    const Answer& answer = next->second;
    WriteLine(m_format.json ? JsonLine(answer.address, answer.report)
                            : TsvLine(answer.address, answer.report, m_format.human));
    m_total.Add(answer.report);
    m_answered.erase(next);
    ++m_printed;
  }
  m_linePrinted.notify_all();
}

// A whole line at once, flushed at once: a reader of a pipe gets it now, and an end
// of the process in between never leaves half of one.
void SizeQueryBatch::WriteLine(const std::string& line) {
  m_progress.Hide();
  std::string whole = line + '\n';
  std::fwrite(whole.data(), 1, whole.size(), stdout);
  std::fflush(stdout);
  m_progress.Restore();
}

void SizeQueryBatch::ShowProgress() { m_progress.Show(m_asked, m_given, m_withoutSize); }
