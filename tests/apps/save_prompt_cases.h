// What both main windows' life-cycle tests share: the answers to the save
// prompt, with the Save As name each one needs, and the table of prompt
// cases (every command with every answer).
#pragma once

#include "tests/support/fake_window_services.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace save_prompt {

enum class Answer { YesSaved, YesSaveAsCancelled, YesWriteFailed, No, Cancel };

// Whether the command that asked goes on after the answer.
inline bool GoesOn(Answer answer) { return answer == Answer::YesSaved || answer == Answer::No; }

inline const char* AnswerName(Answer answer)
{
    static const char* const names[] = {"YesSaved", "YesSaveAsCancelled", "YesWriteFailed", "No", "Cancel"};
    return names[static_cast<int>(answer)];
}

// Queues the answer and, for a Yes on an untitled document, the name the
// Save As dialog gives: savedPath, none, or unwritablePath.
template <class Dialogs>
void QueueAnswer(FakeWindowServices& services, Dialogs& dialogs, Answer answer, const QString& savedPath,
                 const QString& unwritablePath)
{
    services.QueueAnswer(answer == Answer::No       ? platform::MessageButton::No
                         : answer == Answer::Cancel ? platform::MessageButton::Cancel
                                                    : platform::MessageButton::Yes);
    if (answer == Answer::YesSaved)
        dialogs.saveNames.push_back(savedPath);
    if (answer == Answer::YesSaveAsCancelled)
        dialogs.saveNames.push_back(QString());
    if (answer == Answer::YesWriteFailed)
        dialogs.saveNames.push_back(unwritablePath);
}

template <class Command>
struct PromptCase {
    Command command;
    Answer answer;
    bool goesOn;
};

// Every command with every answer.
template <class Command>
std::vector<PromptCase<Command>> PromptCases(std::initializer_list<Command> commands)
{
    std::vector<PromptCase<Command>> cases;
    for (const Command command : commands)
        for (const Answer answer : {Answer::YesSaved, Answer::YesSaveAsCancelled, Answer::YesWriteFailed, Answer::No,
                                    Answer::Cancel})
            cases.push_back({command, answer, GoesOn(answer)});
    return cases;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace save_prompt
