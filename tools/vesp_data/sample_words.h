#pragma once
// The words sample data is made from. Kept apart from the code that combines them.
#include <array>
#include <string_view>

namespace vesp::tools::words {

using W = std::string_view;

inline constexpr std::array<W, 12> kRoles = {"Pastor", "Worship Leader", "Vocalist", "Guitar", "Bass", "Drums",
                                             "Keys", "Sound Engineer", "Video Tech", "Light Tech", "Producer",
                                             "Computer Tech"};
inline constexpr std::array<W, 10> kElementTypes = {"Welcome", "Song", "Prayer", "Scripture Reading", "Sermon",
                                                    "Offering", "Announcements", "Video", "Communion", "Benediction"};
inline constexpr std::array<W, 6> kPublicity = {"Bulletin", "Poster", "Website", "Email", "Social Media", "Radio"};
inline constexpr std::array<W, 12> kKeyWords = {"Grace", "Hope", "Faith", "Love", "Forgiveness", "Joy",
                                                "Peace", "Service", "Prayer", "Worship", "Courage", "Mercy"};
inline constexpr std::array<W, 4> kStatisticTypes = {"Sunday Morning", "Sunday Evening", "Midweek", "Special Event"};
inline constexpr std::array<W, 6> kBibles = {"NIV", "ESV", "KJV", "NASB", "NLT", "NKJV"};
inline constexpr std::array<W, 7> kHolidays = {"Christmas", "Easter", "Thanksgiving", "Pentecost", "Mother's Day",
                                               "Father's Day", "New Year"};
inline constexpr std::array<W, 6> kSpecialEvents = {"Baptism Sunday", "Missions Week", "Youth Sunday",
                                                    "Guest Speaker", "Choir Concert", "Church Anniversary"};
inline constexpr std::array<W, 7> kWeather = {"Sunny", "Cloudy", "Rain", "Snow", "Storm", "Hot", "Cold"};
inline constexpr std::array<W, 10> kPrayerCategories = {"Family", "Health", "Work", "Church", "Missions",
                                                        "Friends", "Finances", "Guidance", "Salvation", "Nation"};
inline constexpr std::array<W, 5> kJournalCategories = {"Devotional", "Sermon Notes", "Reflection",
                                                        "Answered Prayer", "Gratitude"};

inline constexpr std::array<W, 16> kTopics = {"Grace", "Prayer", "Family", "Stewardship", "Hope", "Holiness",
                                              "Discipleship", "Forgiveness", "Worship", "Mission", "Suffering",
                                              "Wisdom", "Community", "Identity", "Rest", "Generosity"};
inline constexpr std::array<W, 16> kTopicSynonyms = {
    "unmerited favour, gift", "intercession, petition", "home, marriage, children", "giving, tithe, money",
    "expectation, trust", "sanctification, purity", "following, apprenticeship", "pardon, reconciliation",
    "praise, adoration", "evangelism, outreach", "trial, pain, lament", "discernment, counsel",
    "fellowship, belonging", "calling, belonging", "sabbath, renewal", "giving, hospitality"};

inline constexpr std::array<W, 12> kSeries = {"Foundations", "The Lord's Prayer", "Psalms of Ascent", "Sermon on the Mount",
                                              "Acts: The Church Begins", "Fruit of the Spirit", "Advent: Light Comes",
                                              "Parables of Jesus", "Romans Road", "Heroes of Faith", "Rooted",
                                              "Letters to the Churches"};

inline constexpr std::array<W, 24> kFirstNames = {"Anna",  "David",  "Grace",   "Samuel", "Ruth",   "Daniel",
                                                  "Hannah", "Joseph", "Miriam",  "Peter",  "Lydia",  "James",
                                                  "Esther", "John",   "Deborah", "Caleb",  "Naomi",  "Luke",
                                                  "Priya",  "Mateo",  "Chloe",   "Kwame",  "Sofia",  "Ethan"};
inline constexpr std::array<W, 20> kLastNames = {"Johnson", "Okafor",   "Martinez", "Nguyen",  "Smith",
                                                 "Williams", "Brown",   "Kim",      "Garcia",  "Davis",
                                                 "Mensah",  "Rossi",    "Taylor",   "Anderson", "Thomas",
                                                 "Moore",   "Jackson",  "Lee",      "Walker",  "Hall"};
inline constexpr std::array<W, 6> kGroups = {"Morning Band", "Evening Band", "Choir", "Youth Band", "Tech Team",
                                             "Drama Team"};

inline constexpr std::array<W, 20> kSongStarts = {"Amazing", "Holy",    "Great",   "Blessed", "Wonderful",
                                                  "Mighty",  "Faithful", "Living",  "Glorious", "Eternal",
                                                  "Precious", "Risen",  "Gracious", "Sovereign", "Beautiful",
                                                  "Endless", "Shining", "Steadfast", "Quiet",   "Unfailing"};
inline constexpr std::array<W, 16> kSongEnds = {"Grace", "Love", "Name", "King", "Light", "Hope",
                                                "Savior", "Morning", "River", "Cross", "Shepherd", "Refuge",
                                                "Song", "Peace", "Rock", "Redeemer"};
inline constexpr std::array<W, 8> kPublishers = {"Hillside Music", "Cornerstone Press", "New Song Publishing",
                                                 "Psalter House", "Open Door Media", "Lamplight Songs",
                                                 "Harvest Hymns", "Good Ground Books"};
inline constexpr std::array<W, 8> kCities = {"Nashville", "Chicago", "Atlanta", "Seattle", "London", "Toronto",
                                             "Denver", "Dallas"};

inline constexpr std::array<W, 16> kBooks = {"Genesis", "Exodus",  "Psalms",  "Proverbs", "Isaiah", "Jeremiah",
                                             "Matthew", "Mark",    "Luke",    "John",     "Acts",   "Romans",
                                             "Ephesians", "Philippians", "Hebrews", "James"};

// Prayer request texts. None of these may contain the letters "care" in a row: only the
// rare phrases below do, so that about one request in a hundred mentions care.
inline constexpr std::array<W, 6> kOpeners = {"Please pray for", "Pray for", "Asking prayer for",
                                              "We ask for prayer for", "Lift up", "Requesting prayer for"};
inline constexpr std::array<W, 20> kWhom = {"my mother", "my father", "my sister", "my brother", "our son",
                                            "our daughter", "my husband", "my wife", "our neighbor", "a coworker",
                                            "my grandmother", "my grandfather", "a friend from small group",
                                            "our pastor", "the youth group", "our missionaries in Kenya",
                                            "the Okafor family", "my cousin", "our church staff", "my boss"};
inline constexpr std::array<W, 20> kSituations = {
    "who is recovering from surgery", "who starts a new job next week", "as she waits for test results",
    "who lost his job", "facing a difficult decision", "who is traveling overseas", "during chemotherapy",
    "as they move to a new city", "who is grieving the loss of a parent", "struggling with anxiety",
    "preparing for exams", "who was in a car accident", "as they welcome a new baby",
    "who needs wisdom with money", "for healing from a long illness", "going through a divorce",
    "who is far from God", "as they plan a mission trip", "with back pain that will not ease",
    "to find a good school"};
inline constexpr std::array<W, 4> kCareSituations = {"who now needs full-time care", "in hospice care",
                                                     "as we arrange care at home", "in intensive care"};
inline constexpr std::array<W, 6> kClosings = {"", " Thank you all.", " God is faithful.",
                                               " Pray for peace and strength.", " We trust the Lord with this.",
                                               " Please keep praying."};
inline constexpr std::array<W, 5> kComments = {"Shared at Wednesday prayer meeting.", "Updated by the family.",
                                               "Follow up next Sunday.", "Card sent from the office.",
                                               "Elders have visited."};
inline constexpr std::array<W, 8> kThanks = {"a safe journey home", "a good report from the doctor",
                                             "a new job", "healing after surgery", "a generous gift to the food pantry",
                                             "new families visiting", "rain after the long dry spell",
                                             "a baby born healthy"};

}  // namespace vesp::tools::words
