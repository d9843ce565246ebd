// Every text that the user sees, as the code page 932 bytes that Windows
// shows under the Japanese ANSI code page.
#pragma once

namespace tuvex::messages {

extern const char kUnexpectedError[];        // 何らかのエラーが発生しました
extern const char kParameterMissing[];       // パラメタが指定されていません
extern const char kParameterBlank[];         // パラメタが空です
extern const char kCommandMissing[];         // コマンドが指定されていません
extern const char kOpenFailedAfterSubject[]; // のオープンに失敗しました(
extern const char kPipeOpenFailed[];         // パイプのオープンに失敗しました(
extern const char kPipeWriteFailed[];        // パイプの書き込みに失敗しました(
extern const char kStartFailedAfterCommandLine[];  // の起動に失敗しました(
extern const char kPipeReadFailed[];         // パイプの読み込みに失敗しました(
extern const char kMenuFileBeforePath[];     // メニュー定義ファイル(
extern const char kMenuFileOpenFailedAfterPath[];  // )のオープンに失敗しました(
extern const char kTextNotConvertible[];     // テキストをコードページ932に変換できません
extern const char kTextNotUtf8Convertible[]; // テキストをUTF-8に変換できません
extern const char kOutputNotConvertible[];   // コマンドの出力をUTF-16に変換できません
extern const char kMemoryFailed[];           // メモリの確保に失敗しました(
extern const char kWaitAbandoned[];          // コマンドの終了を待たずに中断しました
extern const char kWideFilterDisplayName[];  // Tuvex(ワイドキャラクター版)
extern const char kUtf8FilterDisplayName[];  // Tuvex(UTF-8版)
// The window shown while a command takes its time: "経過 N 秒、受信 M バイト".
extern const char kWaitElapsedBefore[];      // 経過
extern const char kWaitReceivedBefore[];     //  秒、受信
extern const char kWaitBytesAfter[];         //  バイト
extern const char kMenuCreateFailed[];       // メニューの作成に失敗しました(

// "<command>はカレントフォルダーにあるため実行しません。実行するには .\<command> と書いてください"
extern const char kOnlyInCurrentFolderAfterCommand[];  // はカレントフォルダーにあるため実行しません。実行するには .\ (then the command)
extern const char kWriteDotBackslashAfterCommand[];   //  と書いてください
extern const char kCommandCrashed[];         // コマンドが異常終了しました(
extern const char kCommandEnded[];           // コマンドを終了しました
// "コマンドの出力が大きすぎるため中止しました(受信 N バイト)"
extern const char kOutputTooLargeBefore[];   // コマンドの出力が大きすぎるため中止しました(受信
extern const char kOutputTooLargeAfter[];    //  バイト)
// The line that stands for the middle of a very long error output:
// "…(途中の N バイトを省略しました)…", in code page 932 and in UTF-16.
extern const char kOmittedBytesBefore[];     // …(途中の
extern const char kOmittedBytesAfter[];      //  バイトを省略しました)…
extern const char16_t kOmittedBytesBeforeUtf16[];
extern const char16_t kOmittedBytesAfterUtf16[];
extern const char kOmittedBytesBeforeUtf8[];
extern const char kOmittedBytesAfterUtf8[];
// "<command>はファイルではなくデバイスのため実行できません"
extern const char kIsDeviceAfterCommand[];   // はファイルではなくデバイスのため実行できません
extern const char kMenuHasNoCommandAfterPath[];  // )に選べるコマンドがありません。tuvex_host menu で中身を確かめてください

// "<subject>がN<unit>あり、上限のM<unit>を超えています" (see MessageOverLimit)
extern const char kCountAfterSubject[];      // が
extern const char kLimitAfterCount[];        // あり、上限の
extern const char kOverLimitAfterLimit[];    // を超えています
extern const char kCharactersUnit[];         // 文字
extern const char kBytesUnit[];              // バイト
extern const char kLevelsUnit[];             // 段
extern const char kCommandLineSubject[];     // コマンドライン
extern const char kPathAfterCommand[];       // のパス
extern const char kMenuNestingAfterPath[];   // )のサブメニューの入れ子

// The words on the lines after a failure's first line: what it means.
extern const char kNotFoundBeforeName[];  // 「 (then the command's name)
extern const char kInterpreterNotFoundBeforeName[];  // スクリプトの #! 行のプログラム「 (then the program's name)
extern const char kNotFoundAfterName[];  // 」が見つかりません。 (then the names tried)
extern const char kNameSeparator[];  // 、 (between the names tried)
extern const char kSearchedFoldersAfterNames[];  //  を、次のフォルダーで順に探しました: (then the folders, a line each)
extern const char kSearchedAsWrittenAfterNames[];  //  を探しました。フォルダーを含む名前は、書かれたとおりの場所(相対パスならカ…
extern const char kNotAProgram[];  // Windows が起動できるプログラムではありません。多くは、#! 行のない…
extern const char kMenuFileMissing[];  // Tuvex.dll と同じフォルダーに、このファイルがありません。
extern const char kOpenAccessDenied[];  // 読むことが許されていないか、ファイルではなくフォルダーです。
extern const char kOpenInvalidName[];  // ファイル名として使えない文字(" や、ドライブ名のあとでない : など)を含…

// "<command>の直後で、パラメタが文字の途中から切れています", then the words
// "「<character>」の 2 バイト目は | と同じバイト(0x7C)のため、…".
extern const char kCutInsideCharacterAfterCommand[];  // の直後で、パラメタが文字の途中から切れています
extern const char kCutCharacterBefore[];  // 「 (then the character)
extern const char kCutCharacterAfter[];  // 」の 2 バイト目は | と同じバイト(0x7C)のため、パラメタがそこで切れました。メニュー定義ファイルに…
// How a command ended, when the user is to know.
// "終了コード N", the last line of the error output's window, in each kind
// of text that error output can be.
extern const char kExitCodeBefore[];         // 終了コード
extern const char16_t kExitCodeBeforeUtf16[];
extern const char kExitCodeBeforeUtf8[];
// "コマンドは何も出力せずに終了しました(終了コード N)"
extern const char kNothingWrittenBefore[];   // コマンドは何も出力せずに終了しました(終了コード
// "コマンドが終了コード N で終了したため、テキストを置き換えませんでした"
extern const char kNotReplacedBefore[];      // コマンドが終了コード
extern const char kNotReplacedAfter[];       //  で終了したため、テキストを置き換えませんでした
extern const char kTextUnchanged[];          // テキストはそのままです
// "終了していないプログラム: <program> (PID N)"
extern const char kStillRunningBefore[];     // 終了していないプログラム:
extern const char kProcessIdBefore[];        //  (PID
extern const char kInstallOrAddToPath[];     // インストールするか、そのプログラムのフォルダーを環境変数 PATH に…
extern const char kWaitFailed[];             // コマンドの終了を待てませんでした(
extern const char kExitCodeReadFailed[];     // コマンドの終了コードを取得できませんでした(

}  // namespace tuvex::messages
