#include "ScriptedComponent.h"

#include <algorithm>

struct ScriptedComponent::State {
    ComponentScript script;
    long references = 0;
    std::vector<IID> asked;
};

namespace {

class ScriptedObject final : public IUnknown {
public:
    explicit ScriptedObject(std::shared_ptr<ScriptedComponent::State> state) : state_(std::move(state))
    {
        AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        state_->asked.push_back(iid);
        const auto& script = state_->script;
        const bool answered = iid == IID_IUnknown ||
                              std::find(script.answered.begin(), script.answered.end(), iid) != script.answered.end();
        if (answered) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        for (const auto& [failing, code] : script.failures)
            if (failing == iid)
                return code;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        ++state_->references;
        return ++references_;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        --state_->references;
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::shared_ptr<ScriptedComponent::State> state_;
    ULONG references_ = 0;
};

}  // namespace

ScriptedComponent::ScriptedComponent(ComponentScript script, const std::vector<std::string>& catids)
    : registration_("QnTest.Probed", catids),
      state_(std::make_shared<State>(State{std::move(script), 0, {}})),
      served_(registration_.clsid(), [state = state_](REFIID iid, void** out) {
          if (FAILED(state->script.creation))
              return state->script.creation;
          auto* object = new ScriptedObject(state);
          const HRESULT hr = object->QueryInterface(iid, out);
          object->Release();
          // What the creation asked is not the probe's business.
          state->asked.clear();
          return hr;
      })
{
}

long ScriptedComponent::liveReferences() const
{
    return state_->references;
}

const std::vector<IID>& ScriptedComponent::asked() const
{
    return state_->asked;
}
