#pragma once
// A visible library parent window that records the notifications its controls send.
#include <windows.h>

#include <vector>

#include "SWnd.h"

struct SRecordedMessage
{
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    SMouseRecord mouse; // copied when the message is a mouse event of a control
};

class SRecordingParent : public SWnd
{
public:
    // Creates the parent as a visible top-level window of the given client size.
    bool CreateParent(int width = 400, int height = 300)
    {
        RECT rect = {50, 50, 50 + width, 50 + height};
        if (!Create("controls test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &rect, nullptr))
            return false;
        SetClientSize(width, height);
        return true;
    }
    // Mouse-event messages whose lParam is a mouse record to copy.
    void SetMouseMessages(std::vector<UINT> messages) { m_mouseMessages = messages; }
    // Answer given to the messages in the control range (default 0).
    void SetAnswer(UINT msg, LRESULT answer) { m_answers.push_back({msg, answer}); }
    // The recorded control-range messages of one number.
    std::vector<SRecordedMessage> Received(UINT msg) const
    {
        std::vector<SRecordedMessage> out;
        for (const auto& m : m_received)
            if (m.msg == msg)
                out.push_back(m);
        return out;
    }
    void ClearReceived() { m_received.clear(); }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg >= WM_S_CONTROL_FIRST && msg < WM_S_CONTROL_FIRST + 400)
        {
            SRecordedMessage record = {msg, wParam, lParam, {0, 0, 0, 0, 0}};
            for (UINT mouse : m_mouseMessages)
                if (mouse == msg && lParam)
                    record.mouse = *(const SMouseRecord*)lParam;
            m_received.push_back(record);
            for (const auto& answer : m_answers)
                if (answer.first == msg)
                    return answer.second;
            return 0;
        }
        return SWnd::OnMessage(msg, wParam, lParam);
    }

private:
    std::vector<SRecordedMessage> m_received;
    std::vector<UINT> m_mouseMessages;
    std::vector<std::pair<UINT, LRESULT>> m_answers;
};
